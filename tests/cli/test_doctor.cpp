#include "clirun.h"
#include "common/testmain.h"
#include "common/text.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Vandra;

// vandractl doctor and write --diff, run as a process on files under a temporary root.
class TestDoctor : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString write(const QString &relative, const QByteArray &bytes, mode_t mode = 0644) {
        const QString path = m_root->path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        file.close();
        ::chmod(QFile::encodeName(path).constData(), mode);
        return path;
    }

    // A user agent labelled label, with a program that exists and RunAtLoad unless given.
    QString agent(const QString &label, PlistDict dict) {
        dict.insert(s("Label"), PlistValue(label));
        if (!dict.contains(s("ProgramArguments")))
            dict.insert(s("ProgramArguments"), PlistValue(QStringList{s("/usr/bin/tool")}));
        if (!dict.contains(s("RunAtLoad")))
            dict.insert(s("RunAtLoad"), PlistValue(true));
        return write(s("home/.config/vandra/LaunchAgents/") + label + s(".plist"),
                     *PlistCodec::toXml(PlistValue(dict)));
    }

    CliRun vandractl(QStringList arguments) {
        arguments << s("--root") << m_root->path();
        return CliRun::run(arguments);
    }

private Q_SLOTS:
    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        write(s("usr/bin/tool"),
              QByteArrayLiteral("\x7f"
                                "ELF"),
              0755);
    }

    void cleanup() { m_root.reset(); }

    void theExitStatusIsTheWorstFinding() {
        const QString healthy = agent(s("org.example.healthy"), {});
        const CliRun clean = vandractl({s("doctor"), healthy});
        QCOMPARE(clean.exitCode, 0);
        QVERIFY(clean.out.contains("no findings"));

        const QString typo = agent(s("org.example.typo"), {{s("StartIntervall"), PlistValue(60)}});
        const CliRun warned = vandractl({s("doctor"), typo});
        QCOMPARE(warned.exitCode, 1);
        QVERIFY(warned.out.contains("warning StartIntervall"));
        QVERIFY(warned.out.contains("fix: Rename it to StartInterval\n"));

        const QString broken =
            agent(s("org.example.broken"), {{s("Program"), PlistValue(s("/usr/bin/gone"))}});
        QCOMPARE(vandractl({s("doctor"), broken}).exitCode, 2);

        const QString notes =
            agent(s("org.example.notes"), {{s("com.vendor.setting"), PlistValue(1)}});
        QCOMPARE(vandractl({s("doctor"), notes}).exitCode, 0);
    }

    void allExaminesEveryFileOfTheJobFolders() {
        agent(s("org.example.healthy"), {});
        const QString daemon =
            write(s("etc/vandra/LaunchDaemons/org.example.d.plist"),
                  *PlistCodec::toXml(PlistValue(PlistDict{
                      {s("Label"), PlistValue(s("org.example.d"))},
                      {s("ProgramArguments"), PlistValue(QStringList{s("/usr/bin/tool")})},
                      {s("RunAtLoad"), PlistValue(true)},
                      {s("UserName"), PlistValue(s("nobody-at-all"))}})));
        const QString junk = write(s("etc/vandra/LaunchAgents/junk.plist"), "not a plist");
        const CliRun run = vandractl({s("doctor"), s("--all"), s("--json")});
        QCOMPARE(run.exitCode, 2);
        const QJsonArray files = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(files.size(), 3);
        QJsonObject bySeverity;
        for (const QJsonValue &file : files) {
            const QJsonObject object = file.toObject();
            bySeverity.insert(object.value(s("path")).toString(), object.value(s("severity")));
        }
        QCOMPARE(bySeverity.value(junk).toString(), s("error"));
        QCOMPARE(bySeverity.value(daemon).toString(), s("error"));
        const QJsonObject daemonObject = files.at(1).toObject().value(s("path")) == daemon
                                             ? files.at(1).toObject()
                                             : files.at(2).toObject();
        const QJsonObject finding = daemonObject.value(s("findings")).toArray().at(0).toObject();
        QCOMPARE(finding.value(s("key")).toString(), s("UserName"));
        QVERIFY(finding.value(s("fix")).isNull());
        QVERIFY(!finding.value(s("explanation")).toString().isEmpty());
    }

    void wrongUseCannotExamine() {
        QCOMPARE(vandractl({s("doctor")}).exitCode, 3);
        QCOMPARE(vandractl({s("doctor"), s("--all"), agent(s("a"), {})}).exitCode, 3);
        QCOMPARE(vandractl({s("doctor"), m_root->path() + s("/missing.plist")}).exitCode, 3);
        QCOMPARE(vandractl({s("doctor"), agent(s("b"), {}), s("--kind"), s("nonsense")}).exitCode,
                 3);
    }

    void writeDiffShowsEachKindOfEdit() {
        const QString file =
            agent(s("org.example.edit"),
                  {{s("StartInterval"), PlistValue(300)},
                   {s("EnvironmentVariables"),
                    PlistValue(PlistDict{{s("PATH"), PlistValue(s("/usr/bin"))}})}});
        const CliRun nothing = vandractl({s("write"), file, s("--diff")});
        QCOMPARE(nothing.exitCode, 0);
        QVERIFY(!nothing.out.contains("@@"));

        const CliRun run =
            vandractl({s("write"), file, s("--diff"), s("--set"), s("run=/usr/bin/tool -v")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Saving changes ProgramArguments."));
        QVERIFY(run.out.contains("\n+\t\t<string>-v</string>\n"));
        QVERIFY(run.out.contains(QByteArray("--- " + file.toUtf8() + "\t(stored)\n")));

        const CliRun schedule =
            vandractl({s("write"), file, s("--diff"), s("--set"), s("scheduled=false")});
        QVERIFY(schedule.out.contains("\n-\t<key>StartInterval</key>\n"));
        QVERIFY(schedule.out.contains("StartInterval"));

        const CliRun keepAlive =
            vandractl({s("write"), file, s("--diff"), s("--set"), s("keepAlive=true")});
        QVERIFY(keepAlive.out.startsWith("Saving changes KeepAlive."));
        QVERIFY(keepAlive.out.contains("\n+\t<key>KeepAlive</key>\n"));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestDoctor)
#include "test_doctor.moc"

#include "clirun.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Vandra;

using namespace Qt::Literals::StringLiterals;

// vandractl units, run as a process on job files under a temporary root.
class TestUnitsCommand final : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;

    QString writeJob(const QString &relative, const PlistDict &dict) {
        const QString path = m_root.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(*PlistCodec::toXml(PlistValue(dict)));
        return path;
    }

    CliRun units(const QString &file, const QString &kind) {
        return CliRun::run({u"units"_s, file, u"--kind"_s, kind, u"--root"_s, m_root.path()});
    }

private slots:
    void printsEachUnitUnderItsNameWithTheMarker() {
        const QString file =
            writeJob(u"etc/vandra/LaunchDaemons/org.example.nightly-job.plist"_s,
                     {{u"Label"_s, u"org.example.nightly-job"_s},
                      {u"ProgramArguments"_s, QStringList{u"/usr/bin/env"_s, u"true"_s}},
                      {u"StartCalendarInterval"_s, PlistDict{{u"Hour"_s, 3}, {u"Minute"_s, 15}}},
                      {u"MachServices"_s, PlistDict{{u"org.example.nightly"_s, true}}}});
        const CliRun run = units(file, u"localDaemon"_s);
        QCOMPARE(run.exitCode, 0);
        const QString out = QString::fromUtf8(run.out);
        const QStringList lines = out.split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), u"# org.example.nightly\\x2djob.service"_s);
        QCOMPARE(lines.value(1), u"# Written by Vandra from the job file "_s + file);
        QVERIFY(lines.contains(u"# org.example.nightly\\x2djob.timer"_s));
        QVERIFY(lines.contains(u"OnCalendar=*-*-* 03:15:00"_s));
        QCOMPARE(QString::fromUtf8(run.err), u"MachServices: not supported on Linux\n"_s);

        // An agent goes to the user's session, so its service is wanted by default.target.
        const QString agent = writeJob(
            u"home/.config/vandra/LaunchAgents/a.plist"_s,
            {{u"Label"_s, u"a"_s}, {u"Program"_s, u"/bin/true"_s}, {u"RunAtLoad"_s, true}});
        const CliRun agentRun = units(agent, u"userAgent"_s);
        QCOMPARE(agentRun.exitCode, 0);
        QVERIFY(agentRun.out.contains("\nWantedBy=default.target\n"));
    }

    void refusesWhatBecomesNoUnits() {
        const QString file =
            writeJob(u"home/.config/vandra/LaunchAgents/b.plist"_s, {{u"Label"_s, u"b"_s}});
        const CliRun noProgram = units(file, u"userAgent"_s);
        QCOMPARE(noProgram.exitCode, 1);
        QVERIFY(noProgram.out.isEmpty());
        QVERIFY(noProgram.err.contains("Program"));
    }

    void theDemoRootsUnitsAllPassSystemdsCheck() {
        if (QStandardPaths::findExecutable(u"systemd-analyze"_s).isEmpty())
            QSKIP("systemd-analyze is not installed");
        const QString source = qEnvironmentVariable("VANDRA_TEST_DATA") + u"/../.."_s;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"VANDRACTL"_s, qEnvironmentVariable("VANDRA_BIN") + u"/vandractl"_s);
        QProcess script;
        script.setProcessEnvironment(environment);
        script.setProcessChannelMode(QProcess::MergedChannels);
        script.start(source + u"/scripts/verify-units"_s, {source + u"/share/demo-root"_s});
        QVERIFY(script.waitForFinished(120000));
        const QString output = QString::fromUtf8(script.readAll());
        QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
                 qPrintable(output));
        QVERIFY2(output.contains(u"unit org.example.backup.service"_s), qPrintable(output));
    }
};

QTEST_GUILESS_MAIN(TestUnitsCommand)
#include "test_unitscommand.moc"

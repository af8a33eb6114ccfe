#include "cli/clirun.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "store/jobfiles.h"
#include "support/locations.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Vandra;

class TestListCommand : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsTheJobsInTheProgramsOrder() {
        TestRoot root;
        const QString second = JobFiles::writeJob(Kind::userAgent, s("job10"));
        const QString first = JobFiles::writeJob(Kind::userAgent, s("job2"), {}, true);
        const QString daemon = JobFiles::writeJob(Kind::localDaemon, s("daemon"));
        JobFiles::writeJob(Kind::systemAgent, s("system"));
        JobFiles::writeBytes(JobFiles::folderOf(Kind::userAgent) + s("/broken.plist"), "broken");

        const CliRun run = CliRun::run({s("list"), s("--root"), root.path()});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines,
                 (QStringList{s("userAgent\tjob2\t") + first, s("userAgent\tjob10\t") + second,
                              s("localDaemon\tdaemon\t") + daemon}));
        // The unreadable file is reported, not listed.
        QVERIFY(run.err.contains("broken.plist"));

        const CliRun all = CliRun::run({s("list"), s("--system"), s("--root=") + root.path()});
        QCOMPARE(all.exitCode, 0);
        QVERIFY(all.out.contains("systemAgent\tsystem\t"));
    }

    void printsEachJobAsJsonWithItsPath() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("org.example.json"),
                                                {{s("StartInterval"), PlistValue(7200)}});
        JobFiles::writeBytes(Locations::shared().userAutostart() + s("/tray.desktop"),
                             "[Desktop Entry]\nName=Tray\nExec=/usr/bin/tray\n");

        const CliRun run = CliRun::run({s("list"), s("--json"), s("--root"), root.path()});
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        const QJsonArray jobs = document.array();
        QCOMPARE(jobs.size(), 2);
        const QJsonObject job = jobs.at(0).toObject();
        QCOMPARE(job.value(s("label")).toString(), s("org.example.json"));
        QCOMPARE(job.value(s("kind")).toString(), s("userAgent"));
        QCOMPARE(job.value(s("path")).toString(), file);
        QCOMPARE(job.value(s("run")).toString(), s("/bin/true"));
        QVERIFY(job.value(s("scheduled")).isArray());
        const QJsonObject item = jobs.at(1).toObject();
        QCOMPARE(item.value(s("kind")).toString(), s("loginItemSystemPreferences"));
        QCOMPARE(item.value(s("path")).toString(), s("LoginItem.SystemPreferences.Tray"));
    }

    void anEmptyMachineListsNothing() {
        TestRoot root;
        const CliRun run = CliRun::run({s("list"), s("--json"), s("--root"), root.path()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("[\n]\n"));
        // The plain list prints nothing at all, and that is no failure.
        const CliRun plain = CliRun::run({s("list"), s("--root"), root.path()});
        QCOMPARE(plain.exitCode, 0);
        QCOMPARE(plain.out, QByteArray());
        QCOMPARE(plain.err, QByteArray());
        QCOMPARE(CliRun::run({s("list"), s("extra"), s("--root"), root.path()}).exitCode, 2);
    }

    void outputThatCannotBeWrittenFails() {
        TestRoot root;
        JobFiles::writeJob(Kind::userAgent, s("job"));
        for (const QStringList &format : {QStringList{}, QStringList{s("--json")}}) {
            QProcess process;
            process.setStandardOutputFile(s("/dev/full"));
            process.start(qEnvironmentVariable("VANDRA_BIN") + s("/vandractl"),
                          QStringList{s("list"), s("--root"), root.path()} + format);
            QVERIFY(process.waitForFinished(60000));
            QCOMPARE(process.exitCode(), 1);
            QVERIFY2(process.readAllStandardError().contains("cannot write the output"),
                     qPrintable(format.join(u' ')));
        }
    }
};

VANDRA_GUILESS_TEST_MAIN(TestListCommand)
#include "test_listcommand.moc"

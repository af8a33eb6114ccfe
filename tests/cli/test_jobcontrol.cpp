// vandractl start, stop and list --json against the real helper, where jobs are only recorded.

#include "cli/clirun.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "helper/statefilebackend.h"
#include "store/jobfiles.h"
#include "support/locations.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Vandra;

namespace {

QString s(const char *text) {
    return QString::fromUtf8(text);
}

QProcessEnvironment environment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The helpers started here end soon after the command.
    environment.insert(s("VANDRA_HELPER_IDLE_TIMEOUT"), s("1"));
    environment.insert(s("VANDRA_JOURNALCTL"), QString());
    return environment;
}

} // namespace

class TestJobControl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startAndStopSayWhatHappenedInTheirExitStatus() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("org.example.ctl"));
        JobFiles::writeJob(Kind::userAgent, s("org.example.idle"));
        StateFileBackend record(Locations::shared().stateDir() + s("/loaded.plist"));
        QString error;
        QVERIFY(record.load(s("org.example.ctl"), QFileInfo(file).canonicalFilePath(), &error));

        const CliRun stop =
            CliRun::run({s("stop"), s("org.example.ctl"), s("--root"), root.path()}, environment());
        QCOMPARE(stop.exitCode, 0);
        QCOMPARE(stop.out, QByteArray("stopped org.example.ctl\n"));

        // Nothing runs recorded jobs, so starting one is refused with the reason.
        const CliRun start = CliRun::run(
            {s("start"), s("org.example.ctl"), s("--root"), root.path()}, environment());
        QCOMPARE(start.exitCode, 1);
        QVERIFY2(start.err.contains("no service manager runs jobs"), start.err.constData());

        const CliRun idle = CliRun::run(
            {s("start"), s("org.example.idle"), s("--root"), root.path()}, environment());
        QCOMPARE(idle.exitCode, 1);
        QVERIFY2(idle.err.contains("not loaded"), idle.err.constData());

        const CliRun unknown =
            CliRun::run({s("stop"), s("nobody"), s("--root"), root.path()}, environment());
        QCOMPARE(unknown.exitCode, 1);
        QVERIFY2(unknown.err.contains("no job is labelled nobody"), unknown.err.constData());

        QCOMPARE(CliRun::run({s("start"), s("--root"), root.path()}, environment()).exitCode, 2);
    }

    void listJsonCarriesTheStatusOfTheJobsTheHelperServes() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("org.example.on"));
        JobFiles::writeJob(Kind::userAgent, s("org.example.off"));
        JobFiles::writeJob(Kind::localDaemon, s("org.example.daemon"));
        StateFileBackend record(Locations::shared().stateDir() + s("/loaded.plist"));
        QString error;
        QVERIFY(record.load(s("org.example.on"), QFileInfo(file).canonicalFilePath(), &error));

        const CliRun run =
            CliRun::run({s("list"), s("--json"), s("--root"), root.path()}, environment());
        QCOMPARE(run.exitCode, 0);
        QHash<QString, QJsonValue> statuses;
        for (const QJsonValue &job : QJsonDocument::fromJson(run.out).array())
            statuses.insert(job[s("label")].toString(), job[s("status")]);
        QCOMPARE(statuses.size(), 3);
        const QJsonObject on = statuses.value(s("org.example.on")).toObject();
        QVERIFY(on[s("isLoaded")].toBool());
        QVERIFY(!on[s("isRunning")].toBool());
        QVERIFY(on[s("pid")].isNull());
        QVERIFY(on[s("nextRun")].isNull());
        QVERIFY(!statuses.value(s("org.example.off"))[s("isLoaded")].toBool());
        // The helper service does not load machine-wide jobs: their status is not known.
        QVERIFY(statuses.value(s("org.example.daemon")).isNull());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobControl)
#include "test_jobcontrol.moc"

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

using namespace Vandra;

// vandractl show and write, run as a process on files under a temporary root.
class TestShowWrite : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_root;

    QString writeJob(const QString &name, const PlistDict &dict, bool binary = false) {
        const QString path = m_root.path() + s("/jobs/") + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(binary ? *PlistCodec::toBinary(PlistValue(dict))
                          : *PlistCodec::toXml(PlistValue(dict)));
        return path;
    }

    CliRun vandractl(QStringList arguments) {
        arguments << s("--root") << m_root.path();
        return CliRun::run(arguments);
    }

    static PlistDict written(const CliRun &run) {
        const PlistReadResult result = PlistCodec::read(run.out);
        return result.value && result.value->dict() ? *result.value->dict() : PlistDict();
    }

private Q_SLOTS:
    void showPrintsTheRecordAsJson() {
        const QString file = writeJob(
            s("daemon.plist"),
            {{s("Label"), PlistValue(s("org.example.d"))},
             {s("ProgramArguments"),
              PlistValue(QStringList{s("/bin/sh"), s("-c"), s("echo hi there")})},
             {s("KeepAlive"), PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(true)}})},
             {s("LimitLoadToSessionType"), PlistValue(s("LoginWindow"))},
             {s("StartCalendarInterval"),
              PlistValue(PlistArray{PlistValue(PlistDict{{s("Month"), PlistValue(2)},
                                                         {s("Day"), PlistValue(29)},
                                                         {s("Hour"), PlistValue(6)},
                                                         {s("Minute"), PlistValue(5)}})})},
             {s("StartInterval"), PlistValue(7200)}},
            true);
        const CliRun run = vandractl({s("show"), file, s("--kind"), s("localDaemon"), s("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject job = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(job.value(s("label")).toString(), s("org.example.d"));
        QCOMPARE(job.value(s("kind")).toString(), s("localDaemon"));
        QCOMPARE(job.value(s("run")).toString(), s("/bin/sh -c \"echo hi there\""));
        QCOMPARE(job.value(s("summary")).toString(), s("sh -c echo hi there"));
        QVERIFY(job.value(s("keepAlive")).toBool());
        QVERIFY(job.value(s("isKeepAliveSuccessfulExitSet")).toBool());
        QVERIFY(job.value(s("watchPath")).isNull());
        QVERIFY(job.value(s("machServicesKey")).isNull());
        QCOMPARE(job.value(s("limitLoadToSessionTypeIndex")).toInt(), 2);
        QVERIFY(job.value(s("isUserNameEnabled")).toBool());
        QVERIFY(!job.value(s("isLocked")).toBool());
        QCOMPARE(job.value(s("runIcon")).toString(), s("/bin/sh"));
        const QJsonArray rules = job.value(s("scheduled")).toArray();
        QCOMPARE(rules.size(), 2);
        QCOMPARE(rules[0].toObject(), (QJsonObject{{s("kind"), s("repeatInterval")},
                                                   {s("interval"), 2},
                                                   {s("unit"), s("hours")}}));
        QCOMPARE(rules[1].toObject(), (QJsonObject{{s("kind"), s("dayOfYear")},
                                                   {s("month"), 1},
                                                   {s("day"), 28},
                                                   {s("time"), s("06:05")}}));
    }

    void showPrintsOneLinePerFieldWithoutJson() {
        const QString file = writeJob(
            s("text.plist"),
            {{s("Label"), PlistValue(s("org.example.t"))},
             {s("ProgramArguments"), PlistValue(QStringList{s("/bin/echo"), s("hi")})},
             {s("StartInterval"), PlistValue(60)},
             {s("StartCalendarInterval"),
              PlistValue(PlistArray{
                  PlistValue(PlistDict{{s("Hour"), PlistValue(6)}, {s("Minute"), PlistValue(5)}}),
                  PlistValue(PlistDict{{s("Weekday"), PlistValue(7)},
                                       {s("Hour"), PlistValue(0)},
                                       {s("Minute"), PlistValue(30)}})})}});
        const CliRun run = vandractl({s("show"), file});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QString::fromUtf8(run.out),
                 s("label: org.example.t\n"
                   "kind: userAgent\n"
                   "run: /bin/echo hi\n"
                   "summary: echo hi\n"
                   "isEnabled: yes\n"
                   "keepAlive: no\n"
                   "isKeepAliveSuccessfulExitSet: no\n"
                   "watchPath: none\n"
                   "machServicesKey: none\n"
                   "isMachServicesEnabled: yes\n"
                   "limitLoadToSessionTypeIndex: none\n"
                   "isLimitLoadToSessionTypeEnabled: no\n"
                   "isUserNameEnabled: no\n"
                   "isLocked: no\n"
                   "isScheduledEnabled: yes\n"
                   "runIcon: /bin/echo\n"
                   "scheduled: {\"kind\":\"repeatInterval\",\"interval\":1,\"unit\":\"minutes\"}\n"
                   "    {\"kind\":\"everyDay\",\"time\":\"06:05\"}\n"
                   "    {\"kind\":\"dayOfWeek\",\"day\":0,\"time\":\"00:30\"}\n"));
    }

    void showRefusesWhatIsNoJob() {
        const QString file = writeJob(s("list.plist"), {});
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(*PlistCodec::toXml(PlistValue(PlistArray{PlistValue(1)})));
        out.close();
        const CliRun notAJob = vandractl({s("show"), file});
        QCOMPARE(notAJob.exitCode, 1);
        QVERIFY(notAJob.out.isEmpty());
        QVERIFY(notAJob.err.contains("holds no job"));
        QCOMPARE(vandractl({s("show"), file, s("--kind"), s("nonsense")}).exitCode, 2);
        QCOMPARE(vandractl({s("show")}).exitCode, 2);
    }

    void writeWithoutEditsKeepsTheFileMeaning() {
        const QString file = writeJob(
            s("plain.plist"), {{s("Label"), PlistValue(s("plain"))},
                               {s("Disabled"), PlistValue(false)},
                               {s("StartInterval"), PlistValue(5)},
                               {s("Custom"), PlistValue(PlistDict{{s("x"), PlistValue(-1)}})}});
        const CliRun run = vandractl({s("write"), file});
        QCOMPARE(run.exitCode, 0);
        const PlistDict d = written(run);
        QVERIFY(!d.contains(s("Disabled")));
        // The rows would show it as 10 seconds, but the schedule was not edited.
        QCOMPARE(d.value(s("StartInterval")), PlistValue(5));
        QCOMPARE(d.value(s("Custom")), PlistValue(PlistDict{{s("x"), PlistValue(-1)}}));
        QCOMPARE(d.value(s("Program")), PlistValue(QString()));
        QVERIFY(d.value(s("EnvironmentVariables")).isDict());
        // Nothing is written to disk.
        QCOMPARE(*PlistCodec::readFile(file).value->dict()->find(s("StartInterval")),
                 PlistValue(5));
    }

    void writeAppliesEditsAsTheEditorDoes() {
        const QString file = writeJob(
            s("edit.plist"),
            {{s("Label"), PlistValue(s("edit"))},
             {s("Program"), PlistValue(s("/usr/bin/old"))},
             {s("WatchPaths"), PlistValue(QStringList{s("/a"), s("/b")})},
             {s("StartCalendarInterval"), PlistValue(PlistDict{{s("Hour"), PlistValue(3)}})}});
        const CliRun run = vandractl({s("write"),  file,
                                      s("--kind"), s("localDaemon"),
                                      s("--set"),  s("run=/bin/echo \"a b\""),
                                      s("--set"),  s("label=renamed"),
                                      s("--set"),  s("enabled=false"),
                                      s("--set"),  s("watchPath=/x"),
                                      s("--set"),  s("machServices=org.m"),
                                      s("--set"),  s("sessionType=Background"),
                                      s("--set"),  s("RunAtLoad=false"),
                                      s("--set"),  s("LowPriorityIO=true"),
                                      s("--set"),  s("UserName=nobody"),
                                      s("--set"),  s("keepAlive=true"),
                                      s("--set"),  s("successfulExit=false")});
        QCOMPARE(run.exitCode, 0);
        const PlistDict d = written(run);
        QCOMPARE(d.value(s("Label")), PlistValue(s("renamed")));
        QCOMPARE(d.value(s("ProgramArguments")), PlistValue(QStringList{s("/bin/echo"), s("a b")}));
        QVERIFY(!d.contains(s("Program")));
        QCOMPARE(d.value(s("Disabled")), PlistValue(true));
        QCOMPARE(d.value(s("WatchPaths")), PlistValue(QStringList{s("/x"), s("/b")}));
        QCOMPARE(d.value(s("MachServices")), PlistValue(PlistDict{{s("org.m"), PlistValue(true)}}));
        QCOMPARE(d.value(s("LimitLoadToSessionType")), PlistValue(QStringList{s("Background")}));
        QCOMPARE(d.value(s("RunAtLoad")), PlistValue(false));
        QCOMPARE(d.value(s("LowPriorityIO")), PlistValue(true));
        QCOMPARE(d.value(s("UserName")), PlistValue(s("nobody")));
        QCOMPARE(d.value(s("KeepAlive")),
                 PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(false)}}));
        // Every minute of three o'clock stays so until the schedule itself is edited.
        QCOMPARE(d.value(s("StartCalendarInterval")),
                 PlistValue(PlistDict{{s("Hour"), PlistValue(3)}}));

        const CliRun off = vandractl(
            {s("write"), file, s("--set"), s("scheduled=off"), s("--set"), s("sessionType=off")});
        QCOMPARE(off.exitCode, 0);
        QVERIFY(!written(off).contains(s("StartCalendarInterval")));
        QVERIFY(!written(off).contains(s("LimitLoadToSessionType")));
    }

    void writeRefusesBadEdits() {
        const QString file = writeJob(s("bad.plist"), {{s("Label"), PlistValue(s("bad"))}});
        const CliRun unknown = vandractl({s("write"), file, s("--set"), s("colour=red")});
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY(unknown.out.isEmpty());
        QVERIFY(unknown.err.contains("unknown field"));
        QCOMPARE(vandractl({s("write"), file, s("--set"), s("enabled=maybe")}).exitCode, 2);
        QCOMPARE(vandractl({s("write"), file, s("--set"), s("sessionType=aqua")}).exitCode, 2);
        QCOMPARE(vandractl({s("write"), file, s("--set"), s("noequals")}).exitCode, 2);
    }

    // The command line offers what the form offers for the job, and no more.
    void writeRefusesFieldsTheFormDisables() {
        const QString file = writeJob(
            s("services.plist"),
            {{s("Label"), PlistValue(s("services"))},
             {s("MachServices"),
              PlistValue(PlistDict{
                  {s("org.a"), PlistValue(PlistDict{{s("ResetAtClose"), PlistValue(true)}})}})}});
        const QList<QStringList> refused = {
            {s("--set"), s("machServices=org.b")},
            {s("--set"), s("UserName=root")},
            {s("--set"), s("successfulExit=true")},
            {s("--kind"), s("systemAgent"), s("--set"), s("label=x")},
        };
        for (const QStringList &edit : refused) {
            const CliRun run = vandractl(QStringList{s("write"), file} + edit);
            QCOMPARE(run.exitCode, 2);
            QVERIFY(run.out.isEmpty());
            const QString field = edit.last().section(QLatin1Char('='), 0, 0);
            QVERIFY2(run.err.contains(field.toUtf8()) && run.err.count('\n') == 1,
                     run.err.constData());
        }
        const CliRun daemon = vandractl(
            {s("write"), file, s("--kind"), s("localDaemon"), s("--set"), s("UserName=root")});
        QCOMPARE(daemon.exitCode, 0);
        QCOMPARE(written(daemon).value(s("UserName")), PlistValue(s("root")));
        const CliRun kept = vandractl({s("write"), file, s("--set"), s("keepAlive=true"),
                                       s("--set"), s("successfulExit=true")});
        QCOMPARE(kept.exitCode, 0);
    }

    void showDescribesConditionalKeepAlive() {
        const QString file =
            writeJob(s("conditional.plist"),
                     {{s("Label"), PlistValue(s("conditional"))},
                      {s("KeepAlive"), PlistValue(PlistDict{{s("NetworkState"), PlistValue(true)},
                                                            {s("Crashed"), PlistValue(true)}})}});
        const CliRun run = vandractl({s("show"), file});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.out.contains("keepAlive: yes, while the network is up; after a crash\n"),
                 run.out.constData());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestShowWrite)
#include "test_showwrite.moc"

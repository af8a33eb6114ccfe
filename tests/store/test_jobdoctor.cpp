#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "store/jobdoctor.h"
#include "store/jobfiles.h"
#include "store/jobstate.h"
#include "store/schedulerows.h"

#include <QFile>
#include <QHash>
#include <QTest>

#include <unistd.h>

#include <sys/stat.h>

using namespace Vandra;

namespace {

PlistValue texts(std::initializer_list<const char *> list) {
    QStringList result;
    for (const char *text : list)
        result.append(s(text));
    return PlistValue(result);
}

class FakeStates final : public JobStateSource {
public:
    QHash<QString, JobState> states;
    std::optional<JobState> stateOf(const QString &label) const override {
        const auto found = states.constFind(label);
        return found == states.cend() ? std::nullopt : std::optional(*found);
    }
};

} // namespace

// The job doctor on job files of our own making under a temporary root.
class TestJobDoctor : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestRoot> m_root;

    // A file under the root with the given mode.
    QString file(const QString &machinePath, const QByteArray &bytes, mode_t mode = 0755) {
        const QString path = m_root->write(machinePath.mid(1), bytes);
        ::chmod(QFile::encodeName(path).constData(), mode);
        return path;
    }

    // A job file of kind labelled after its file, holding dict and, unless it has one,
    // a healthy program and RunAtLoad.
    QString job(Kind kind, const QString &label, PlistDict dict) {
        if (!dict.contains(s("ProgramArguments")) && !dict.contains(s("Program")))
            dict.insert(s("ProgramArguments"), texts({"/usr/bin/tool"}));
        if (!dict.contains(s("RunAtLoad")))
            dict.insert(s("RunAtLoad"), PlistValue(true));
        const QString path = JobFiles::writeJob(kind, label, dict);
        ::chmod(QFile::encodeName(path).constData(), 0644);
        return path;
    }

    static JobDoctor doctor(const JobStateSource *state = nullptr) {
        JobDoctor d(state);
        d.setRootOwner(::getuid());
        return d;
    }

    static Findings examine(const QString &path, Kind kind = Kind::userAgent,
                            const JobStateSource *state = nullptr) {
        return doctor(state).examineFile(path, kind);
    }

    static const Finding *find(const Findings &findings, const QString &key,
                               Finding::Severity severity) {
        for (const Finding &finding : findings) {
            if (finding.key == key && finding.severity == severity)
                return &finding;
        }
        return nullptr;
    }

    static QString dump(const Findings &findings) {
        QStringList lines;
        for (const Finding &f : findings)
            lines << JobDoctor::severityName(f.severity) + QLatin1Char(' ') + f.key +
                         QStringLiteral(": ") + f.explanation;
        return lines.join(QLatin1Char('\n'));
    }

    // The dictionary a save writes after the fix of the finding on key is applied.
    static PlistDict fixed(const QString &path, Kind kind, const QString &key,
                           Finding::Severity severity, const JobStateSource *state = nullptr) {
        const Findings findings = examine(path, kind, state);
        const Finding *finding = find(findings, key, severity);
        if (!finding || !finding->fix) {
            qWarning().noquote() << "no fix for" << key << "in\n" << dump(findings);
            return {};
        }
        QList<JobPtr> jobs;
        JobReader::readJobFile(kind, path, jobs);
        if (jobs.isEmpty())
            return {};
        Job &job = *jobs.first();
        RuleRows rows = ScheduleRows::forJob(job);
        if (!JobDoctor::applyFix(job, *finding->fix, &rows))
            return {};
        rows = ScheduleRows::forJob(job);
        return JobWriter::makePlist(job, &rows);
    }

#define EXPECT(findings, key, severity)                                                            \
    QVERIFY2(find(findings, s(key), Finding::Severity::severity),                                  \
             qPrintable(                                                                           \
                 QStringLiteral("no %1 on %2 in:\n%3").arg(s(#severity), s(key), dump(findings))))

private Q_SLOTS:
    void init() {
        m_root = std::make_unique<TestRoot>();
        file(s("/usr/bin/tool"), QByteArrayLiteral("\x7f"
                                                   "ELF fake program"));
        file(s("/bin/sh"), QByteArrayLiteral("\x7f"
                                             "ELF fake shell"));
        file(s("/etc/passwd"),
             "root:x:0:0:root:/root:/bin/sh\n"
             "alice:x:4242:4242:Alice:/home/alice:/bin/sh\n",
             0644);
        file(s("/etc/group"), "root:x:0:\nstaff:x:50:alice\n", 0644);
        QDir().mkpath(m_root->path(s("var/log")));
        ::chmod(QFile::encodeName(m_root->path(s("var/log"))).constData(), 0755);
    }

    void cleanup() {
        m_root.reset();
    }

    void healthyJobsHaveNoFindings() {
        const QString agent = job(Kind::userAgent, s("org.example.agent"),
                                  {{s("StartInterval"), PlistValue(300)},
                                   {s("StandardOutPath"), PlistValue(s("/var/log/agent.log"))}});
        QCOMPARE(dump(examine(agent)), QString());
        const QString daemon =
            job(Kind::localDaemon, s("org.example.daemon"),
                {{s("UserName"), PlistValue(s("root"))},
                 {s("WorkingDirectory"), PlistValue(s("/var/log"))},
                 {s("StartCalendarInterval"),
                  PlistValue(PlistDict{{s("Month"), PlistValue(2)}, {s("Day"), PlistValue(29)}})},
                 {s("ProgramArguments"), texts({"/bin/sh", "-c", "echo $HOME ~"})}});
        QCOMPARE(dump(examine(daemon, Kind::localDaemon)), QString());
    }

    void aFileThatIsNoJobIsAnError() {
        const QString list = m_root->write(s("a.plist"), *PlistCodec::toXml(texts({"x"})));
        EXPECT(examine(list), "", error);
        const QString garbage = m_root->write(s("b.plist"), "<plist><dict><key>");
        EXPECT(examine(garbage), "", error);
        const QString unlabelled = JobFiles::writeDict(
            m_root->path(s("c.plist")), {{s("ProgramArguments"), texts({"/usr/bin/tool"})}});
        EXPECT(examine(unlabelled), "Label", error);
    }

    void aLabelUnlikeTheFileNameIsFixedToTheName() {
        const QString path = job(Kind::userAgent, s("org.example.name"), {});
        JobFiles::writeDict(path, {{s("Label"), PlistValue(s("org.example.other"))},
                                   {s("ProgramArguments"), texts({"/usr/bin/tool"})},
                                   {s("RunAtLoad"), PlistValue(true)}});
        QCOMPARE(
            fixed(path, Kind::userAgent, s("Label"), Finding::Severity::warning).value(s("Label")),
            PlistValue(s("org.example.name")));
    }

    void unknownKeysAreRenamedToTheNearestKnownKey() {
        const QString path = job(Kind::userAgent, s("org.example.typo"),
                                 {{s("Programarguments"), texts({"/usr/bin/tool", "-v"})},
                                  {s("ProgramArguments"), texts({"/usr/bin/tool"})},
                                  {s("StartIntervall"), PlistValue(60)},
                                  {s("X-Vendor-Thing"), PlistValue(true)}});
        const Findings findings = examine(path);
        EXPECT(findings, "Programarguments", warning); // its real key is there too: no fix
        QVERIFY(!find(findings, s("Programarguments"), Finding::Severity::warning)->fix);
        EXPECT(findings, "X-Vendor-Thing", note);
        const PlistDict after =
            fixed(path, Kind::userAgent, s("StartIntervall"), Finding::Severity::warning);
        QCOMPARE(after.value(s("StartInterval")), PlistValue(60));
        QVERIFY(!after.contains(s("StartIntervall")));
        // The renamed key keeps its place in the file.
        QCOMPARE(after.keys().indexOf(s("StartInterval")), 2);
    }

    void valuesOfTheWrongTypeAreConverted() {
        const QString path = job(Kind::userAgent, s("org.example.types"),
                                 {{s("StartInterval"), PlistValue(s("300"))},
                                  {s("RunAtLoad"), PlistValue(1)},
                                  {s("WatchPaths"), PlistValue(s("/tmp/in"))},
                                  {s("Nice"), PlistValue(s("high"))}});
        QCOMPARE(fixed(path, Kind::userAgent, s("StartInterval"), Finding::Severity::error)
                     .value(s("StartInterval")),
                 PlistValue(300));
        QCOMPARE(fixed(path, Kind::userAgent, s("RunAtLoad"), Finding::Severity::error)
                     .value(s("RunAtLoad")),
                 PlistValue(true));
        QCOMPARE(fixed(path, Kind::userAgent, s("WatchPaths"), Finding::Severity::error)
                     .value(s("WatchPaths")),
                 texts({"/tmp/in"}));
        const Findings findings = examine(path);
        EXPECT(findings, "Nice", error);
        QVERIFY(!find(findings, s("Nice"), Finding::Severity::error)->fix);
    }

    void daemonFilesMustBeRootsAndWritableByNoOneElse() {
        const QString path = job(Kind::localDaemon, s("org.example.owned"), {});
        QCOMPARE(dump(examine(path, Kind::localDaemon)), QString());
        ::chmod(QFile::encodeName(path).constData(), 0664);
        EXPECT(examine(path, Kind::localDaemon), "", error);
        ::chmod(QFile::encodeName(path).constData(), 0644);
        JobDoctor strict;
        strict.setRootOwner(::getuid() + 1);
        EXPECT(strict.examineFile(path, Kind::localDaemon), "", error);
        // Agents are not held to it.
        QCOMPARE(dump(strict.examineFile(path, Kind::userAgent)).contains(s("root")), false);
    }

    void aJobWithoutProgramOrWithAMissingOneIsAnError() {
        const QString none = job(Kind::userAgent, s("org.example.none"),
                                 {{s("ProgramArguments"), PlistValue(PlistArray())}});
        EXPECT(examine(none), "ProgramArguments", error);
        const QString missing = job(Kind::userAgent, s("org.example.missing"),
                                    {{s("Program"), PlistValue(s("/usr/bin/gone"))}});
        EXPECT(examine(missing), "Program", error);
        const QString folder = job(Kind::userAgent, s("org.example.folder"),
                                   {{s("ProgramArguments"), texts({"/var/log"})}});
        EXPECT(examine(folder), "ProgramArguments", error);
    }

    void scriptsThatCannotStartAreRunWithTheirInterpreter() {
        file(s("/opt/bare.py"), "print('hi')\n", 0755);
        const QString bare = job(Kind::userAgent, s("org.example.bare"),
                                 {{s("ProgramArguments"), texts({"/opt/bare.py", "-q"})}});
        QCOMPARE(fixed(bare, Kind::userAgent, s("ProgramArguments"), Finding::Severity::error)
                     .value(s("ProgramArguments")),
                 texts({"/usr/bin/python3", "/opt/bare.py", "-q"}));

        file(s("/opt/plain.sh"), "#!/bin/sh\necho hi\n", 0644);
        const QString plain = job(Kind::userAgent, s("org.example.plain"),
                                  {{s("Program"), PlistValue(s("/opt/plain.sh"))},
                                   {s("ProgramArguments"), texts({"plain.sh", "x"})}});
        const PlistDict after =
            fixed(plain, Kind::userAgent, s("Program"), Finding::Severity::error);
        QVERIFY(!after.contains(s("Program")));
        QCOMPARE(after.value(s("ProgramArguments")), texts({"/bin/sh", "/opt/plain.sh", "x"}));

        file(s("/opt/lost.rb"), "#!/usr/bin/ruby\nputs 1\n", 0755);
        const QString lost = job(Kind::userAgent, s("org.example.lost"),
                                 {{s("ProgramArguments"), texts({"/opt/lost.rb"})}});
        EXPECT(examine(lost), "ProgramArguments", error);
    }

    void unexpandedPathsAreExpandedForTheJobsUser() {
        const QString tilde = job(Kind::userAgent, s("org.example.tilde"),
                                  {{s("ProgramArguments"), texts({"~/bin/tool", "~/data"})},
                                   {s("StandardOutPath"), PlistValue(s("$HOME/out.log"))}});
        const Findings findings = examine(tilde);
        EXPECT(findings, "ProgramArguments", error);
        EXPECT(findings, "ProgramArguments", warning);
        QCOMPARE(fixed(tilde, Kind::userAgent, s("ProgramArguments"), Finding::Severity::error)
                     .value(s("ProgramArguments")),
                 texts({"/home/bin/tool", "~/data"}));
        QCOMPARE(fixed(tilde, Kind::userAgent, s("ProgramArguments"), Finding::Severity::warning)
                     .value(s("ProgramArguments")),
                 texts({"~/bin/tool", "/home/data"}));
        QCOMPARE(fixed(tilde, Kind::userAgent, s("StandardOutPath"), Finding::Severity::error)
                     .value(s("StandardOutPath")),
                 PlistValue(s("/home/out.log")));

        const QString daemon = job(Kind::localDaemon, s("org.example.var"),
                                   {{s("UserName"), PlistValue(s("alice"))},
                                    {s("Program"), PlistValue(s("$TOOLS/run"))},
                                    {s("WorkingDirectory"), PlistValue(s("~/work"))}});
        const Findings daemonFindings = examine(daemon, Kind::localDaemon);
        QVERIFY(!find(daemonFindings, s("Program"), Finding::Severity::error)->fix);
        QCOMPARE(fixed(daemon, Kind::localDaemon, s("WorkingDirectory"), Finding::Severity::error)
                     .value(s("WorkingDirectory")),
                 PlistValue(s("/home/alice/work")));
    }

    void bareCommandsAreLookedUpOnLaunchdsSearchPath() {
        file(s("/opt/homebrew/bin/brewed"),
             "\x7f"
             "ELF",
             0755);
        const QString brewed = job(Kind::userAgent, s("org.example.brewed"),
                                   {{s("ProgramArguments"), texts({"brewed", "--now"})}});
        QCOMPARE(fixed(brewed, Kind::userAgent, s("ProgramArguments"), Finding::Severity::error)
                     .value(s("ProgramArguments")),
                 texts({"/opt/homebrew/bin/brewed", "--now"}));
        const QString nowhere = job(Kind::userAgent, s("org.example.nowhere"),
                                    {{s("ProgramArguments"), texts({"nowhere"})}});
        const Findings findings = examine(nowhere);
        EXPECT(findings, "ProgramArguments", error);
        QVERIFY(!find(findings, s("ProgramArguments"), Finding::Severity::error)->fix);
        const QString found = job(Kind::userAgent, s("org.example.found"),
                                  {{s("ProgramArguments"), texts({"tool"})}});
        QCOMPARE(dump(examine(found)), QString());
        // The job's own search path counts.
        const QString own = job(
            Kind::userAgent, s("org.example.own"),
            {{s("ProgramArguments"), texts({"brewed"})},
             {s("EnvironmentVariables"),
              PlistValue(PlistDict{{s("PATH"), PlistValue(s("/usr/bin:/opt/homebrew/bin"))}})}});
        QCOMPARE(dump(examine(own)), QString());
    }

    void schedulesThatNeverMatterAreFound() {
        const QString never =
            job(Kind::userAgent, s("org.example.never"),
                {{s("StartCalendarInterval"),
                  PlistValue(PlistArray{PlistValue(PlistDict{{s("Hour"), PlistValue(3)}}),
                                        PlistValue(PlistDict{{s("Month"), PlistValue(2)},
                                                             {s("Day"), PlistValue(30)}})})}});
        EXPECT(examine(never), "StartCalendarInterval", warning);
        const QString minute = job(
            Kind::userAgent, s("org.example.minute"),
            {{s("StartCalendarInterval"), PlistValue(PlistDict{{s("Minute"), PlistValue(60)}})}});
        EXPECT(examine(minute), "StartCalendarInterval", warning);

        const QString fast =
            job(Kind::userAgent, s("org.example.fast"), {{s("StartInterval"), PlistValue(5)}});
        QCOMPARE(fixed(fast, Kind::userAgent, s("StartInterval"), Finding::Severity::warning)
                     .value(s("StartInterval")),
                 PlistValue(10));

        const QString alive =
            job(Kind::userAgent, s("org.example.alive"),
                {{s("StartInterval"), PlistValue(60)}, {s("KeepAlive"), PlistValue(true)}});
        EXPECT(examine(alive), "StartInterval", warning);

        const QString idle =
            job(Kind::userAgent, s("org.example.idle"), {{s("RunAtLoad"), PlistValue(false)}});
        QCOMPARE(fixed(idle, Kind::userAgent, s("RunAtLoad"), Finding::Severity::warning)
                     .value(s("RunAtLoad")),
                 PlistValue(true));
        const QString watching =
            job(Kind::userAgent, s("org.example.watching"),
                {{s("RunAtLoad"), PlistValue(false)}, {s("WatchPaths"), texts({"/tmp"})}});
        QCOMPARE(dump(examine(watching)), QString());
    }

    void aKeptAliveProgramThatExitsAtOnceRunsOnceInstead() {
        file(s("/usr/bin/true"),
             "\x7f"
             "ELF",
             0755);
        const QString loop = job(Kind::userAgent, s("org.example.loop"),
                                 {{s("ProgramArguments"), texts({"/usr/bin/true"})},
                                  {s("KeepAlive"), PlistValue(true)},
                                  {s("RunAtLoad"), PlistValue(false)}});
        const PlistDict after =
            fixed(loop, Kind::userAgent, s("KeepAlive"), Finding::Severity::warning);
        QVERIFY(!after.contains(s("KeepAlive")));
        QCOMPARE(after.value(s("RunAtLoad")), PlistValue(true));
        // A long-running program kept alive is fine, unless the backend saw it end at once.
        const QString server =
            job(Kind::userAgent, s("org.example.server"), {{s("KeepAlive"), PlistValue(true)}});
        QCOMPARE(dump(examine(server)), QString());
        FakeStates states;
        states.states.insert(s("org.example.server"), {true, 0, 20, {}});
        EXPECT(examine(server, Kind::userAgent, &states), "KeepAlive", warning);
    }

    void outputAndWorkingFoldersMustBeThereAndWritable() {
        const QString path = job(Kind::localDaemon, s("org.example.out"),
                                 {{s("UserName"), PlistValue(s("alice"))},
                                  {s("StandardOutPath"), PlistValue(s("/var/nothing/out.log"))},
                                  {s("StandardErrorPath"), PlistValue(s("/var/log/err.log"))},
                                  {s("WorkingDirectory"), PlistValue(s("/srv/gone"))}});
        const Findings findings = examine(path, Kind::localDaemon);
        EXPECT(findings, "StandardOutPath", error);
        EXPECT(findings, "StandardErrorPath", error); // alice cannot write in /var/log
        EXPECT(findings, "WorkingDirectory", error);
        ::chown(QFile::encodeName(m_root->path(s("var/log"))).constData(), uid_t(-1), 50);
        ::chmod(QFile::encodeName(m_root->path(s("var/log"))).constData(), 0775);
        if (::getuid() == 0) // only root can give the folder to alice's group
            QVERIFY(!find(examine(path, Kind::localDaemon), s("StandardErrorPath"),
                          Finding::Severity::error));
    }

    void userNamesMustNameAUserAndSuitOnlyDaemons() {
        const QString agent =
            job(Kind::userAgent, s("org.example.as"), {{s("UserName"), PlistValue(s("alice"))}});
        QVERIFY(!fixed(agent, Kind::userAgent, s("UserName"), Finding::Severity::warning)
                     .contains(s("UserName")));
        const QString daemon = job(Kind::localDaemon, s("org.example.ghost"),
                                   {{s("UserName"), PlistValue(s("ghost"))}});
        EXPECT(examine(daemon, Kind::localDaemon), "UserName", error);
    }

    void theBackendsStateIsCompared() {
        const QString off =
            job(Kind::userAgent, s("org.example.off"), {{s("Disabled"), PlistValue(true)}});
        const QString on = job(Kind::userAgent, s("org.example.on"), {});
        QCOMPARE(dump(examine(off)), QString()); // no backend, no state findings
        FakeStates states;
        states.states.insert(s("org.example.off"), {true, 0, std::nullopt, {}});
        states.states.insert(s("org.example.on"),
                             {false, 3, std::nullopt, {s("starting"), s("disk full")}});
        QVERIFY(!fixed(off, Kind::userAgent, s("Disabled"), Finding::Severity::warning, &states)
                     .contains(s("Disabled")));
        const Findings onFindings = examine(on, Kind::userAgent, &states);
        EXPECT(onFindings, "Disabled", warning);
        const Finding *exit = find(onFindings, QString(), Finding::Severity::warning);
        QVERIFY(exit);
        QCOMPARE(exit->detail, QStringList({s("starting"), s("disk full")}));
    }

    void aFixIsAnEditOfTheCurrentJob() {
        const QString path =
            job(Kind::userAgent, s("org.example.current"),
                {{s("StartInterval"), PlistValue(5)}, {s("RunAtLoad"), PlistValue(false)}});
        QList<JobPtr> jobs;
        JobReader::readJobFile(Kind::userAgent, path, jobs);
        const JobPtr current = jobs.first();
        JobList::shared().setCurrentJob(current);
        current->setRun(s("/usr/bin/tool --edited"));
        RuleRows rows = ScheduleRows::forJob(*current);
        const Findings findings = doctor().examineJob(*current, &rows);
        const Finding *interval = find(findings, s("StartInterval"), Finding::Severity::warning);
        // An unedited schedule is saved as written, so the short interval is still there.
        QVERIFY(interval);
        const Findings idle =
            doctor().examinePlist({{s("Label"), PlistValue(s("org.example.current"))},
                                   {s("ProgramArguments"), texts({"/usr/bin/tool"})}},
                                  path, Kind::userAgent);
        const Finding *never = find(idle, s("RunAtLoad"), Finding::Severity::warning);
        QVERIFY(never && never->fix);
        QVERIFY(JobDoctor::applyFix(*current, *never->fix, &rows));
        QVERIFY(JobList::shared().currentJob() == current);
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(current->changes().contains(Change::generic));
        QCOMPARE(current->originalLabel, s("org.example.current"));
        rows = ScheduleRows::forJob(*current);
        const PlistDict saved = JobWriter::makePlist(*current, &rows);
        QCOMPARE(saved.value(s("ProgramArguments")), texts({"/usr/bin/tool", "--edited"}));
        QCOMPARE(saved.value(s("RunAtLoad")), PlistValue(true));
    }

    void theWorstSeverityWins() {
        QVERIFY(!JobDoctor::worst({}));
        QVERIFY(JobDoctor::worst({{Finding::Severity::note, {}, {}, {}, {}},
                                  {Finding::Severity::error, {}, {}, {}, {}},
                                  {Finding::Severity::warning, {}, {}, {}, {}}}) ==
                Finding::Severity::error);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobDoctor)
#include "test_jobdoctor.moc"

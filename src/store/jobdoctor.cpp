#include "store/jobdoctor.h"

#include "model/bindings.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "model/launchdkey.h"
#include "model/schedulerules.h"
#include "platform/plistcodec.h"
#include "store/jobstate.h"
#include "store/knownkeys.h"
#include "store/programcheck.h"
#include "store/systemusers.h"
#include "support/locations.h"

#include <QFile>
#include <QFileInfo>

#include <pwd.h>

#include <algorithm>
#include <limits>
#include <sys/stat.h>

namespace Vandra {

namespace {

using Severity = Finding::Severity;

const QString runAtLoad = QStringLiteral("RunAtLoad");
const QString userName = QStringLiteral("UserName");
const QString standardOutPath = QStringLiteral("StandardOutPath");

// Commands that finish at once; kept alive, launchd restarts them in a loop.
const QStringList quickExitPrograms = {
    QStringLiteral("true"),   QStringLiteral("false"),    QStringLiteral("echo"),
    QStringLiteral("printf"), QStringLiteral("date"),     QStringLiteral("touch"),
    QStringLiteral("open"),   QStringLiteral("xdg-open"), QStringLiteral("mkdir"),
    QStringLiteral("cp"),     QStringLiteral("ln"),       QStringLiteral("rm")};

// launchd waits this long between two starts of a job.
constexpr qint64 throttleSeconds = 10;

QString describeValue(const PlistValue &value) {
    switch (value.type()) {
    case PlistValue::Type::String:
        return JobDoctor::tr("the text “%1”").arg(*value.toString());
    case PlistValue::Type::Boolean:
        return *value.toBool() ? JobDoctor::tr("true") : JobDoctor::tr("false");
    case PlistValue::Type::Integer:
        return JobDoctor::tr("the number %1").arg(*value.toInteger());
    case PlistValue::Type::Real:
        return JobDoctor::tr("the number %1").arg(*value.toReal());
    case PlistValue::Type::Date:
        return JobDoctor::tr("a date");
    case PlistValue::Type::Data:
        return JobDoctor::tr("data");
    case PlistValue::Type::Array:
        return JobDoctor::tr("a list");
    case PlistValue::Type::Dictionary:
        return JobDoctor::tr("a dictionary");
    case PlistValue::Type::None:
        break;
    }
    return JobDoctor::tr("nothing");
}

QString describeEntry(const PlistDict &entry) {
    QStringList parts;
    for (const auto &[key, value] : entry)
        parts.append(key + QLatin1Char(' ') + value.debugText());
    return QLatin1Char('{') + parts.join(QStringLiteral(", ")) + QLatin1Char('}');
}

// Why a calendar entry never fires, or an empty text when it does.
QString whyNeverFires(const PlistDict &entry) {
    const auto number = [&entry](const QString &key) { return entry.value(key).toInteger(); };
    using namespace LaunchdKey::StartCalendarInterval;
    const struct {
        const QString &key;
        qint64 low;
        qint64 high;
    } ranges[] = {{Minute, 0, 59}, {Hour, 0, 23}, {Day, 1, 31}, {Month, 1, 12}, {Weekday, 0, 7}};
    for (const auto &range : ranges) {
        if (const std::optional<qint64> value = number(range.key);
            value && (*value < range.low || *value > range.high)) {
            return JobDoctor::tr("%1 %2 is not between %3 and %4")
                .arg(range.key)
                .arg(*value)
                .arg(range.low)
                .arg(range.high);
        }
    }
    const std::optional<qint64> month = number(Month);
    const std::optional<qint64> day = number(Day);
    if (month && day) {
        static const int longest[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        if (*day > longest[*month - 1])
            return JobDoctor::tr("month %1 has no day %2").arg(*month).arg(*day);
    }
    return {};
}

Fix removeKeyFix(const QString &title, const QString &key) {
    return {title, [key](PlistDict &d) { d.remove(key); }};
}

Fix setKeyFix(const QString &title, const QString &key, const PlistValue &value) {
    return {title, [key, value](PlistDict &d) { d.insert(key, value); }};
}

Fix renameKeyFix(const QString &from, const QString &to) {
    return {JobDoctor::tr("Rename it to %1").arg(to), [from, to](PlistDict &d) {
                QList<PlistDict::Entry> entries = d.entries();
                for (PlistDict::Entry &entry : entries) {
                    if (entry.first == from)
                        entry.first = to;
                }
                d = PlistDict::fromEntries(std::move(entries));
            }};
}

// One examination of one dictionary; the findings are appended in the order of the checks.
class Checkup final {
public:
    Checkup(const PlistDict &plist, const std::optional<QString> &path, Kind kind,
            const SystemUsers &users, const JobStateSource *state, Findings &findings)
        : m_plist(plist)
        , m_path(path)
        , m_kind(kind)
        , m_users(users)
        , m_state(state)
        , m_findings(findings) {}

    void run() {
        examineKeys();
        examineLabel();
        const std::optional<UserAccount> runner = jobUser();
        ProgramCheck program(m_plist, runner, m_findings);
        program.run();
        examineSchedule();
        examineKeepAlive(program.programName());
        examineOutput(runner);
        examineUserName();
        examineState();
    }

private:
    void add(Severity severity, const QString &key, const QString &explanation,
             std::optional<Fix> fix = std::nullopt) {
        m_findings.append({severity, key, explanation, {}, std::move(fix)});
    }

    [[nodiscard]] bool isDaemon() const {
        return m_kind == Kind::localDaemon || m_kind == Kind::systemDaemon;
    }

    [[nodiscard]] bool fits(const QString &key) const {
        const std::optional<KnownKeys::Shape> shape = KnownKeys::shapeOf(key);
        return shape && m_plist.contains(key) && KnownKeys::fits(m_plist.value(key), *shape);
    }

    // The account the job runs as: the user for agents, UserName or root for daemons. None
    // when UserName names nobody.
    [[nodiscard]] std::optional<UserAccount> jobUser() const {
        if (!isDaemon())
            return m_users.currentUser();
        if (const std::optional<QString> name = m_plist.value(userName).toString())
            return m_users.find(*name);
        UserAccount root = m_users.find(QStringLiteral("root")).value_or(UserAccount());
        root.uid = 0;
        return root;
    }

    void examineKeys() {
        for (const auto &[key, value] : m_plist) {
            const std::optional<KnownKeys::Shape> shape = KnownKeys::shapeOf(key);
            if (!shape) {
                examineUnknownKey(key);
                continue;
            }
            if (KnownKeys::fits(value, *shape))
                continue;
            std::optional<Fix> fix;
            if (const std::optional<PlistValue> better = KnownKeys::converted(value, *shape)) {
                fix = setKeyFix(JobDoctor::tr("Make it %1").arg(describeValue(*better)), key,
                                *better);
            }
            add(Severity::error, key,
                JobDoctor::tr("%1 must be %2, but it is %3.")
                    .arg(key, KnownKeys::describe(*shape), describeValue(value)),
                std::move(fix));
        }
    }

    void examineUnknownKey(const QString &key) {
        const std::optional<QString> near = KnownKeys::nearest(key);
        if (!near) {
            add(Severity::note, key,
                JobDoctor::tr("launchd does not know the key %1 and ignores it.").arg(key));
        } else if (m_plist.contains(*near)) {
            add(Severity::warning, key,
                JobDoctor::tr("launchd does not know the key %1, a misspelling of %2, and "
                              "ignores it.")
                    .arg(key, *near));
        } else {
            add(Severity::warning, key,
                JobDoctor::tr("launchd does not know the key %1 and ignores it; it is probably "
                              "meant to be %2.")
                    .arg(key, *near),
                renameKeyFix(key, *near));
        }
    }

    void examineLabel() {
        const std::optional<QString> label = m_plist.value(LaunchdKey::Label).toString();
        if (!label || !m_path)
            return;
        QString name = QFileInfo(*m_path).fileName();
        if (name.endsWith(QLatin1String(".plist")))
            name.chop(6);
        if (name == *label)
            return;
        add(Severity::warning, LaunchdKey::Label,
            JobDoctor::tr("The label %1 differs from the file name %2, so tools that go by one "
                          "will not find the job by the other.")
                .arg(*label, name),
            setKeyFix(JobDoctor::tr("Label it %1").arg(name), LaunchdKey::Label, PlistValue(name)));
    }

    [[nodiscard]] bool isAlwaysKeptAlive() const {
        const PlistValue keepAlive = m_plist.value(LaunchdKey::KeepAlive);
        if (!keepAlive.isNone())
            return keepAlive.toBool() == true;
        return m_plist.value(LaunchdKey::OnDemand).toBool() == false;
    }

    void examineSchedule() {
        const QString &calendarKey = LaunchdKey::StartCalendarInterval::key;
        const bool hasInterval = fits(LaunchdKey::StartInterval);
        const bool hasCalendar = fits(calendarKey);
        if (hasInterval) {
            const qint64 seconds = *m_plist.value(LaunchdKey::StartInterval).toInteger();
            if (seconds < throttleSeconds) {
                add(Severity::warning, LaunchdKey::StartInterval,
                    JobDoctor::tr("An interval of %n seconds is shorter than launchd allows: it "
                                  "starts a job at most once every %1 seconds.",
                                  nullptr,
                                  int(qMax<qint64>(seconds, std::numeric_limits<int>::min())))
                        .arg(throttleSeconds),
                    setKeyFix(JobDoctor::tr("Run it every %1 seconds").arg(throttleSeconds),
                              LaunchdKey::StartInterval, PlistValue(throttleSeconds)));
            }
        }
        if (hasCalendar) {
            for (const PlistDict &entry : Scheduled::calendarEntries(m_plist)) {
                const QString why = whyNeverFires(entry);
                if (why.isEmpty())
                    continue;
                add(Severity::warning, calendarKey,
                    JobDoctor::tr("The calendar entry %1 never fires: %2.")
                        .arg(describeEntry(entry), why));
                break;
            }
        }
        if ((hasInterval || hasCalendar) && isAlwaysKeptAlive()) {
            add(Severity::warning, hasCalendar ? calendarKey : LaunchdKey::StartInterval,
                JobDoctor::tr("The schedule never matters: KeepAlive keeps the job running all "
                              "the time."));
        }
        if (!hasTrigger()) {
            add(Severity::warning, runAtLoad,
                JobDoctor::tr("Nothing ever starts the job: it does not run at load and has no "
                              "schedule, keep-alive or other trigger."),
                setKeyFix(JobDoctor::tr("Run it at load"), runAtLoad, PlistValue(true)));
        }
    }

    [[nodiscard]] bool hasTrigger() const {
        if (m_plist.value(runAtLoad).toBool() == true ||
            m_plist.value(QStringLiteral("StartOnMount")).toBool() == true)
            return true;
        const PlistValue keepAlive = m_plist.value(LaunchdKey::KeepAlive);
        if (keepAlive.toBool() == true || (keepAlive.dict() && !keepAlive.dict()->isEmpty()) ||
            (keepAlive.isNone() && m_plist.value(LaunchdKey::OnDemand).toBool() == false))
            return true;
        for (const char *key :
             {"StartInterval", "StartCalendarInterval", "WatchPaths", "QueueDirectories", "Sockets",
              "MachServices", "LaunchEvents", "inetdCompatibility"}) {
            if (m_plist.contains(QString::fromLatin1(key)))
                return true;
        }
        return false;
    }

    void examineKeepAlive(const QString &programName) {
        if (!isAlwaysKeptAlive() || programName.isEmpty())
            return;
        bool exitsAtOnce = quickExitPrograms.contains(programName);
        if (const std::optional<JobState> state = stateNow(); state && state->lastRunMilliseconds)
            exitsAtOnce = exitsAtOnce || *state->lastRunMilliseconds < throttleSeconds * 1000;
        if (!exitsAtOnce)
            return;
        add(Severity::warning, LaunchdKey::KeepAlive,
            JobDoctor::tr("%1 exits at once, and KeepAlive restarts it every time: a loop "
                          "that launchd slows to one start every %2 seconds.")
                .arg(programName)
                .arg(throttleSeconds),
            Fix{JobDoctor::tr("Run it once at load instead"), [](PlistDict &d) {
                    d.remove(LaunchdKey::KeepAlive);
                    d.remove(LaunchdKey::OnDemand);
                    d.insert(runAtLoad, PlistValue(true));
                }});
    }

    void examineOutput(const std::optional<UserAccount> &runner) {
        for (const QString &key : {standardOutPath, LaunchdKey::StandardErrorPath}) {
            const QString path = m_plist.value(key).toString().value_or(QString());
            if (!path.startsWith(QLatin1Char('/')))
                continue;
            const QString folder = QFileInfo(path).path();
            const QString onMachine = Locations::shared().underRoot(path);
            if (!QFileInfo(QFileInfo(onMachine).path()).isDir()) {
                add(Severity::error, key,
                    JobDoctor::tr("The folder %1 does not exist, so launchd cannot start the job "
                                  "with its output there.")
                        .arg(folder));
                continue;
            }
            if (!runner)
                continue;
            const bool exists = QFileInfo::exists(onMachine);
            const QString target = exists ? onMachine : QFileInfo(onMachine).path();
            if (!ProgramCheck::mayUse(target, *runner, S_IWOTH)) {
                add(Severity::error, key,
                    JobDoctor::tr("The job's user cannot write %1, so launchd cannot start the "
                                  "job with its output there.")
                        .arg(exists ? path : folder));
            }
        }
        const QString directory =
            m_plist.value(LaunchdKey::WorkingDirectory).toString().value_or(QString());
        if (directory.startsWith(QLatin1Char('/')) &&
            !QFileInfo(Locations::shared().underRoot(directory)).isDir()) {
            add(Severity::error, LaunchdKey::WorkingDirectory,
                JobDoctor::tr("The working folder %1 does not exist, so launchd cannot start the "
                              "job.")
                    .arg(directory));
        }
    }

    void examineUserName() {
        const std::optional<QString> name = m_plist.value(userName).toString();
        if (!name)
            return;
        if (!isDaemon()) {
            add(Severity::warning, userName,
                JobDoctor::tr("An agent always runs as the user who is logged in, so launchd "
                              "ignores its UserName."),
                removeKeyFix(JobDoctor::tr("Remove UserName"), userName));
        } else if (!m_users.find(*name)) {
            add(Severity::error, userName,
                JobDoctor::tr("There is no user named %1 on this machine, so launchd cannot "
                              "run the job as that user.")
                    .arg(*name));
        }
    }

    [[nodiscard]] std::optional<JobState> stateNow() const {
        const std::optional<QString> label = m_plist.value(LaunchdKey::Label).toString();
        if (!m_state || !label)
            return std::nullopt;
        return m_state->stateOf(*label);
    }

    void examineState() {
        const std::optional<JobState> state = stateNow();
        if (!state)
            return;
        const bool isDisabled = m_plist.value(LaunchdKey::Disabled).toBool() == true;
        if (state->isLoaded && isDisabled) {
            add(Severity::warning, LaunchdKey::Disabled,
                JobDoctor::tr("launchd has the job loaded, but its file disables it, so it will "
                              "not be loaded again at the next start."),
                removeKeyFix(JobDoctor::tr("Enable it in the file"), LaunchdKey::Disabled));
        } else if (!state->isLoaded && !isDisabled) {
            add(Severity::warning, LaunchdKey::Disabled,
                JobDoctor::tr("The file enables the job, but launchd has not loaded it, so it "
                              "does not run until it is loaded."));
        }
        if (state->lastExitStatus && *state->lastExitStatus != 0) {
            m_findings.append(
                {Severity::warning,
                 {},
                 JobDoctor::tr("The job last exited with status %1.").arg(*state->lastExitStatus),
                 state->logTail,
                 std::nullopt});
        }
    }

    const PlistDict &m_plist;
    const std::optional<QString> &m_path;
    Kind m_kind;
    const SystemUsers &m_users;
    const JobStateSource *m_state;
    Findings &m_findings;
};

QString ownerName(uint uid) {
    if (const passwd *entry = ::getpwuid(uid))
        return QFile::decodeName(entry->pw_name);
    return JobDoctor::tr("user %1").arg(uid);
}

} // namespace

JobDoctor::JobDoctor(const JobStateSource *state)
    : m_state(state)
    , m_rootOwner(m_users.rootOwner()) {}

Findings JobDoctor::examineFile(const QString &path, Kind kind) const {
    Findings findings;
    const PlistReadResult read = PlistCodec::readFile(path);
    if (!read.ok()) {
        findings.append({Severity::error,
                         {},
                         tr("The file cannot be read as a property list: %1").arg(read.error),
                         {},
                         std::nullopt});
        return findings;
    }
    const PlistDict *dict = read.value->dict();
    if (!dict) {
        findings.append({Severity::error,
                         {},
                         tr("The file holds %1, not a dictionary, so it is no job.")
                             .arg(describeValue(*read.value)),
                         {},
                         std::nullopt});
        return findings;
    }
    examineOwnership(path, kind, findings);
    findings += examinePlist(*dict, path, kind);
    return findings;
}

Findings JobDoctor::examineJob(Job &job, const RuleRows *ruleRows) const {
    Findings findings;
    const Kind kind = job.kind.value_or(Kind::userAgent);
    if (job.url && QFileInfo::exists(*job.url))
        examineOwnership(*job.url, kind, findings);
    findings += examinePlist(JobWriter::makePlist(job, ruleRows), job.url, kind);
    return findings;
}

Findings JobDoctor::examinePlist(const PlistDict &plist, const std::optional<QString> &path,
                                 Kind kind) const {
    Findings findings;
    // A Label of the wrong type is reported with the other wrong types.
    if (!plist.contains(LaunchdKey::Label)) {
        findings.append({Severity::error,
                         LaunchdKey::Label,
                         tr("The job has no Label, so launchd refuses it."),
                         {},
                         std::nullopt});
    }
    Checkup(plist, path, kind, m_users, m_state, findings).run();
    return findings;
}

void JobDoctor::examineOwnership(const QString &path, Kind kind, Findings &findings) const {
    if (kind != Kind::localDaemon && kind != Kind::systemDaemon)
        return;
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return;
    if (info.st_uid != m_rootOwner) {
        findings.append({Severity::error,
                         {},
                         tr("The file belongs to %1, and launchd refuses a daemon whose file "
                            "root does not own.")
                             .arg(ownerName(info.st_uid)),
                         {},
                         std::nullopt});
    }
    if (info.st_mode & (S_IWGRP | S_IWOTH)) {
        findings.append({Severity::error,
                         {},
                         tr("Users other than its owner may change the file, and launchd "
                            "refuses a daemon whose file is group- or world-writable."),
                         {},
                         std::nullopt});
    }
}

bool JobDoctor::applyFix(Job &job, const Fix &fix, const RuleRows *ruleRows) {
    if (!job.plist || !fix.edit)
        return false;
    PlistDict dict = JobWriter::makePlist(job, ruleRows);
    fix.edit(dict);
    const JobPtr fresh = JobReader::jobFromPlist(dict, job.url, job.kind);
    if (!fresh)
        return false;
    fresh->originalLabel = job.originalLabel;
    fresh->originalKind = job.originalKind;
    fresh->textContent = job.textContent;
    fresh->setNewFile(job.isNewFile());
    fresh->setLocked(job.isLocked());
    // The dictionary now holds every edit, so nothing needs rebuilding from the fields.
    fresh->setChanges({Change::generic});
    const bool isCurrent = job.isCurrent();
    job = *fresh;
    if (isCurrent)
        Bindings::shared().setEdited(true);
    return true;
}

std::optional<Finding::Severity> JobDoctor::worst(const Findings &findings) {
    if (findings.isEmpty())
        return std::nullopt;
    return std::max_element(
               findings.cbegin(), findings.cend(),
               [](const Finding &a, const Finding &b) { return a.severity < b.severity; })
        ->severity;
}

QString JobDoctor::severityName(Finding::Severity severity) {
    switch (severity) {
    case Severity::note:
        return QStringLiteral("note");
    case Severity::warning:
        return QStringLiteral("warning");
    case Severity::error:
        return QStringLiteral("error");
    }
    return {};
}

} // namespace Vandra

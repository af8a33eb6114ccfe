#include "platform/systemdunitgenerator.h"

#include "platform/systemdescape.h"

#include <QMap>
#include <QRegularExpression>

#include <algorithm>

namespace Vandra {

using namespace Qt::Literals::StringLiterals;

namespace {

const QString markerPrefix = u"# Written by Vandra from the job file "_s;
const QString unsupported = u"not supported on Linux"_s;

// Unit names are at most 255 bytes with their suffix; ".service" is the longest we use.
constexpr qsizetype stemLimit = 255 - 8;

// launchd's resource limits and systemd's settings for them.
const QList<std::pair<QString, QString>> &resourceLimits() {
    static const QList<std::pair<QString, QString>> limits{
        {u"Core"_s, u"LimitCORE"_s},
        {u"CPU"_s, u"LimitCPU"_s},
        {u"Data"_s, u"LimitDATA"_s},
        {u"FileSize"_s, u"LimitFSIZE"_s},
        {u"MemoryLock"_s, u"LimitMEMLOCK"_s},
        {u"NumberOfFiles"_s, u"LimitNOFILE"_s},
        {u"NumberOfProcesses"_s, u"LimitNPROC"_s},
        {u"ResidentSetSize"_s, u"LimitRSS"_s},
        {u"Stack"_s, u"LimitSTACK"_s},
    };
    return limits;
}

const QStringList weekdayNames{u"Sun"_s, u"Mon"_s, u"Tue"_s, u"Wed"_s,
                               u"Thu"_s, u"Fri"_s, u"Sat"_s};

QString escapedPath(const QString &path) {
    QString out;
    for (const QChar c : path) {
        if (c == QLatin1Char('\\'))
            out += u"\\\\"_s;
        else if (c == QLatin1Char('\n'))
            out += u"\\n"_s;
        else if (c == QLatin1Char('\r'))
            out += u"\\r"_s;
        else
            out += c;
    }
    return out;
}

// The units of one job, built key by key. Each key either adds lines or leaves a note.
class UnitBuilder {
public:
    UnitBuilder(const PlistDict &job, SystemdScope scope)
        : m_job(job)
        , m_scope(scope) {}

    SystemdUnits build(const QString &jobPath);

private:
    void note(const QString &key, const QString &reason) { m_notes.append({key, reason}); }
    std::optional<bool> boolean(const QString &key);
    std::optional<qint64> integer(const QString &key, qint64 low, qint64 high);
    std::optional<QString> absolutePath(const QString &key, const QString &path);
    std::optional<QString> pathKey(const QString &key);
    std::optional<QString> commandLine();
    void addEnvironment();
    void addIdentity();
    void addOutput();
    void addKeepAlive();
    void addProcessSettings();
    void addResourceLimits();
    void addInterval();
    void addCalendar();
    QStringList calendarExpressions(const PlistDict &entry);
    // A field's value; none when missing. One out of range is taken as clamps says: into
    // the range, or as the low end.
    std::optional<int> calendarField(const PlistDict &entry, const QString &field, int low,
                                     int high, bool clamps);
    void addPaths();
    [[nodiscard]] QString unitText(const QString &jobPath, const QString &type,
                                   const QStringList &lines, const QString &target) const;

    const PlistDict &m_job;
    SystemdScope m_scope;
    QList<SystemdNote> m_notes;
    QStringList m_service;
    QStringList m_timer;
    QStringList m_path;
    QString m_restart;
    bool m_isStartedAtLoad = false;
    bool m_hasCalendar = false;
};

std::optional<bool> UnitBuilder::boolean(const QString &key) {
    const PlistValue *value = m_job.find(key);
    if (!value)
        return std::nullopt;
    if (!value->isBool()) {
        note(key, u"must be true or false"_s);
        return std::nullopt;
    }
    return value->toBool();
}

std::optional<qint64> UnitBuilder::integer(const QString &key, qint64 low, qint64 high) {
    const PlistValue *value = m_job.find(key);
    if (!value)
        return std::nullopt;
    const auto number = value->toInteger();
    if (!number || *number < low || *number > high) {
        note(key, u"must be a whole number from %1 to %2"_s.arg(low).arg(high));
        return std::nullopt;
    }
    return number;
}

std::optional<QString> UnitBuilder::absolutePath(const QString &key, const QString &path) {
    if (!path.startsWith(QLatin1Char('/')) || !SystemdEscape::fitsOnLine(path)) {
        note(key, u"systemd takes only an absolute path without line breaks"_s);
        return std::nullopt;
    }
    return SystemdEscape::literal(path);
}

std::optional<QString> UnitBuilder::pathKey(const QString &key) {
    const PlistValue *value = m_job.find(key);
    if (!value)
        return std::nullopt;
    const auto text = value->toString();
    if (!text) {
        note(key, u"must be text"_s);
        return std::nullopt;
    }
    return absolutePath(key, *text);
}

std::optional<QString> UnitBuilder::commandLine() {
    const PlistValue *programValue = m_job.find(u"Program"_s);
    const PlistValue *argumentsValue = m_job.find(u"ProgramArguments"_s);
    std::optional<QString> program = programValue ? programValue->toString() : std::nullopt;
    std::optional<QStringList> arguments;
    if (argumentsValue) {
        arguments = argumentsValue->isString() ? QStringList{*argumentsValue->toString()}
                                               : argumentsValue->toStringList();
        if (!arguments) {
            note(u"ProgramArguments"_s, u"must be a list of texts"_s);
            return std::nullopt;
        }
    }
    if (programValue && !program) {
        note(u"Program"_s, u"must be text"_s);
        return std::nullopt;
    }
    if (program && program->isEmpty())
        program.reset();
    const QString executable = program ? *program : arguments.value_or(QStringList()).value(0);
    const QString key = program ? u"Program"_s : u"ProgramArguments"_s;
    if (executable.isEmpty()) {
        note(key, u"the job names no program to run"_s);
        return std::nullopt;
    }
    // systemd looks a bare name up in its own search path, but refuses a relative path.
    if (!executable.startsWith(QLatin1Char('/')) && executable.contains(QLatin1Char('/'))) {
        note(key, u"systemd runs a program only by an absolute path or a bare name"_s);
        return std::nullopt;
    }
    if (!SystemdEscape::isRunnablePath(executable)) {
        note(key, u"systemd runs no program whose path holds quotes or backslashes"_s);
        return std::nullopt;
    }
    QStringList words;
    // With Program, the arguments start with the name the program sees as its own.
    if (program)
        words.append(QLatin1Char('@') + SystemdEscape::programWord(*program));
    else
        words.append(SystemdEscape::programWord(executable));
    for (const QString &argument :
         program ? arguments.value_or(QStringList{*program}) : arguments->mid(1))
        words.append(SystemdEscape::commandWord(argument));
    return words.join(QLatin1Char(' '));
}

void UnitBuilder::addEnvironment() {
    const PlistValue *value = m_job.find(u"EnvironmentVariables"_s);
    if (!value)
        return;
    const PlistDict *variables = value->dict();
    if (!variables) {
        note(u"EnvironmentVariables"_s, u"must be a dictionary of texts"_s);
        return;
    }
    static const QRegularExpression validName(u"^[A-Za-z_][A-Za-z0-9_]*$"_s);
    for (const auto &[name, setting] : *variables) {
        const auto text = setting.toString();
        if (!text || !validName.match(name).hasMatch()) {
            note(u"EnvironmentVariables"_s, u"%1 is not a variable of text"_s.arg(name));
            continue;
        }
        m_service.append(u"Environment="_s + SystemdEscape::environmentWord(name, *text));
    }
}

void UnitBuilder::addIdentity() {
    for (const auto &[key, setting] :
         {std::pair{u"UserName"_s, u"User"_s}, std::pair{u"GroupName"_s, u"Group"_s}}) {
        const PlistValue *value = m_job.find(key);
        if (!value)
            continue;
        const auto name = value->toString();
        if (m_scope != SystemdScope::system) {
            note(key, u"an agent runs as the user whose session runs it"_s);
        } else if (!name || name->isEmpty() || !SystemdEscape::fitsOnLine(*name) ||
                   name->contains(QLatin1Char(' '))) {
            note(key, u"must be the name of a user or group"_s);
        } else {
            m_service.append(setting + QLatin1Char('=') + SystemdEscape::literal(*name));
        }
    }
    // systemd always sets up a user's supplementary groups.
    if (boolean(u"InitGroups"_s) == false)
        note(u"InitGroups"_s, u"systemd always sets up the user's groups"_s);
}

void UnitBuilder::addOutput() {
    if (const auto path = pathKey(u"StandardInPath"_s))
        m_service.append(u"StandardInput=file:"_s + *path);
    if (const auto path = pathKey(u"StandardOutPath"_s))
        m_service.append(u"StandardOutput=append:"_s + *path);
    if (const auto path = pathKey(u"StandardErrorPath"_s))
        m_service.append(u"StandardError=append:"_s + *path);
    if (const auto path = pathKey(u"WorkingDirectory"_s))
        m_service.append(u"WorkingDirectory="_s + *path);
    if (const auto path = pathKey(u"RootDirectory"_s))
        m_service.append(u"RootDirectory="_s + *path);
}

void UnitBuilder::addKeepAlive() {
    const PlistValue *value = m_job.find(u"KeepAlive"_s);
    const PlistValue *onDemand = m_job.find(u"OnDemand"_s);
    if (!value) {
        // The older form: OnDemand false keeps the job alive.
        if (onDemand && onDemand->toBool() == false) {
            m_restart = u"always"_s;
            m_isStartedAtLoad = true;
        } else if (onDemand && !onDemand->isBool()) {
            note(u"OnDemand"_s, u"must be true or false"_s);
        }
        return;
    }
    if (value->isBool()) {
        if (*value->toBool()) {
            m_restart = u"always"_s;
            m_isStartedAtLoad = true;
        }
        return;
    }
    const PlistDict *conditions = value->dict();
    if (!conditions) {
        note(u"KeepAlive"_s, u"must be true, false or a dictionary"_s);
        return;
    }
    // Restart after a clean exit, after a failing exit status, after a signal.
    bool clean = false;
    bool failed = false;
    bool signalled = false;
    for (const auto &[condition, setting] : *conditions) {
        const auto flag = setting.toBool();
        if (condition == u"SuccessfulExit"_s && flag) {
            // The job runs once at load, so that it has an exit status to go by.
            m_isStartedAtLoad = true;
            (*flag ? clean : failed) = true;
            if (!*flag)
                signalled = true;
        } else if (condition == u"Crashed"_s && flag == true) {
            signalled = true;
        } else if (condition == u"PathState"_s && setting.dict()) {
            for (const auto &[path, exists] : *setting.dict()) {
                if (exists.toBool() != true) {
                    note(u"KeepAlive"_s,
                         u"PathState: systemd cannot wait for %1 to be gone"_s.arg(path));
                } else if (const auto literal = absolutePath(u"KeepAlive"_s, path)) {
                    m_path.append(u"PathExists="_s + *literal);
                }
            }
        } else {
            note(u"KeepAlive"_s, u"%1: %2"_s.arg(condition, unsupported));
        }
    }
    if (clean && (failed || signalled))
        m_restart = u"always"_s;
    else if (clean)
        m_restart = u"on-success"_s;
    else if (failed)
        m_restart = u"on-failure"_s;
    else if (signalled)
        m_restart = u"on-abnormal"_s;
}

void UnitBuilder::addProcessSettings() {
    if (const auto seconds = integer(u"ThrottleInterval"_s, 0, 1LL << 31))
        m_service.append(u"RestartSec=%1"_s.arg(*seconds));
    else if (!m_restart.isEmpty())
        // launchd waits 10 seconds before starting a job again.
        m_service.append(u"RestartSec=10"_s);
    if (const auto seconds = integer(u"ExitTimeOut"_s, 0, 1LL << 31))
        m_service.append(*seconds == 0 ? u"TimeoutStopSec=infinity"_s
                                       : u"TimeoutStopSec=%1"_s.arg(*seconds));
    if (const auto nice = integer(u"Nice"_s, -20, 19))
        m_service.append(u"Nice=%1"_s.arg(*nice));
    if (boolean(u"LowPriorityIO"_s) == true)
        m_service.append(u"IOSchedulingClass=idle"_s);
    if (const PlistValue *umask = m_job.find(u"Umask"_s)) {
        bool isOctal = false;
        const qint64 mode = umask->isString() ? umask->toString()->toLongLong(&isOctal, 8)
                                              : umask->toInteger().value_or(-1);
        if ((umask->isString() && !isOctal) || mode < 0 || mode > 0777)
            note(u"Umask"_s, u"must be a file mode from 0 to 0777"_s);
        else
            m_service.append(u"UMask=%1"_s.arg(mode, 4, 8, QLatin1Char('0')));
    }
    if (boolean(u"AbandonProcessGroup"_s) == true)
        m_service.append(u"KillMode=process"_s);
    if (boolean(u"LaunchOnlyOnce"_s) == true) {
        // Once it has run, the service stays active, so nothing starts it again until the
        // next boot.
        m_service.append(u"RemainAfterExit=yes"_s);
        if (!m_restart.isEmpty())
            note(u"KeepAlive"_s, u"a job that runs only once is not kept alive"_s);
        m_restart.clear();
    }
    if (!m_restart.isEmpty())
        m_service.append(u"Restart="_s + m_restart);
}

void UnitBuilder::addResourceLimits() {
    QMap<QString, std::pair<std::optional<qint64>, std::optional<qint64>>> limits;
    for (const QString &key : {u"SoftResourceLimits"_s, u"HardResourceLimits"_s}) {
        const PlistValue *value = m_job.find(key);
        if (!value)
            continue;
        if (!value->dict()) {
            note(key, u"must be a dictionary of numbers"_s);
            continue;
        }
        const bool isSoft = key.startsWith(u"Soft"_s);
        for (const auto &[name, setting] : *value->dict()) {
            // clang 14 (clang-tidy's here) cannot capture a structured binding.
            const QString &limitName = name;
            const auto known =
                std::find_if(resourceLimits().begin(), resourceLimits().end(),
                             [&limitName](const auto &pair) { return pair.first == limitName; });
            const auto number = setting.toInteger();
            if (known == resourceLimits().end() || !number || *number < 0) {
                note(key, u"%1: %2"_s.arg(name, unsupported));
                continue;
            }
            auto &limit = limits[known->second];
            (isSoft ? limit.first : limit.second) = number;
        }
    }
    for (const auto &[setting, _] : resourceLimits()) {
        if (!limits.contains(setting))
            continue;
        const auto &[soft, hard] = limits.value(setting);
        // A single value sets both limits, as systemd reads it.
        const QString value =
            soft && hard ? u"%1:%2"_s.arg(*soft).arg(*hard) : QString::number(soft ? *soft : *hard);
        m_service.append(setting + QLatin1Char('=') + value);
    }
}

void UnitBuilder::addInterval() {
    const PlistValue *value = m_job.find(u"StartInterval"_s);
    if (!value)
        return;
    const auto seconds = value->toInteger();
    if (!seconds || *seconds <= 0) {
        note(u"StartInterval"_s, u"must be a positive number of seconds"_s);
        return;
    }
    // The first run comes one interval after loading, the next one interval after each start.
    m_timer.append(u"OnActiveSec=%1"_s.arg(*seconds));
    m_timer.append(u"OnUnitActiveSec=%1"_s.arg(*seconds));
}

std::optional<int> UnitBuilder::calendarField(const PlistDict &entry, const QString &field, int low,
                                              int high, bool clamps) {
    const PlistValue *value = entry.find(field);
    if (!value)
        return std::nullopt;
    const auto number = value->toInteger();
    if (number && *number >= low && *number <= high)
        return int(*number);
    // The value the timeline shows for it, so that the job runs when the window says.
    const int taken = number && clamps ? int(std::clamp<qint64>(*number, low, high)) : low;
    note(u"StartCalendarInterval"_s,
         u"%1 %2 is out of range; taken as %3"_s.arg(field, value->debugText()).arg(taken));
    return taken;
}

QStringList UnitBuilder::calendarExpressions(const PlistDict &entry) {
    const auto month = calendarField(entry, u"Month"_s, 1, 12, true);
    const auto day = calendarField(entry, u"Day"_s, 1, 31, true);
    const auto hour = calendarField(entry, u"Hour"_s, 0, 23, false);
    const auto minute = calendarField(entry, u"Minute"_s, 0, 59, false);
    std::optional<int> weekday;
    if (const PlistValue *value = entry.find(u"Weekday"_s)) {
        const auto number = value->toInteger();
        // launchd counts Sunday as 0 and as 7.
        weekday = number && *number >= 0 && *number <= 7 ? int(*number % 7) : 0;
        if (!number || *number < 0 || *number > 7)
            note(u"StartCalendarInterval"_s,
                 u"Weekday %1 is out of range; taken as Sunday"_s.arg(value->debugText()));
    }
    const auto field = [](const std::optional<int> &value) {
        return value ? u"%1"_s.arg(*value, 2, 10, QLatin1Char('0')) : u"*"_s;
    };
    const QString time = field(hour) + QLatin1Char(':') + field(minute) + u":00"_s;
    const QString date = u"*-"_s + field(month) + QLatin1Char('-');
    QStringList expressions;
    // As in cron, a day of the month and a weekday each start the job on their own.
    if (weekday)
        expressions.append(weekdayNames.at(*weekday) + QLatin1Char(' ') + date + u"* "_s + time);
    if (day || !weekday)
        expressions.append(date + field(day) + QLatin1Char(' ') + time);
    return expressions;
}

void UnitBuilder::addCalendar() {
    const PlistValue *value = m_job.find(u"StartCalendarInterval"_s);
    if (!value)
        return;
    PlistArray entries;
    if (value->dict())
        entries.append(*value);
    else if (value->array())
        entries = *value->array();
    else
        note(u"StartCalendarInterval"_s, u"must be a dictionary or a list of dictionaries"_s);
    for (const PlistValue &entry : std::as_const(entries)) {
        if (!entry.dict()) {
            note(u"StartCalendarInterval"_s, u"an entry that is not a dictionary is left out"_s);
            continue;
        }
        for (const QString &expression : calendarExpressions(*entry.dict())) {
            if (!m_timer.contains(u"OnCalendar="_s + expression))
                m_timer.append(u"OnCalendar="_s + expression);
            m_hasCalendar = true;
        }
    }
}

void UnitBuilder::addPaths() {
    for (const auto &[key, setting] :
         {std::pair{u"WatchPaths"_s, u"PathModified="_s},
          std::pair{u"QueueDirectories"_s, u"PathDirectoryNotEmpty="_s}}) {
        const PlistValue *value = m_job.find(key);
        if (!value)
            continue;
        const auto paths =
            value->isString() ? QStringList{*value->toString()} : value->toStringList();
        if (!paths) {
            note(key, u"must be a list of paths"_s);
            continue;
        }
        for (const QString &path : *paths) {
            if (const auto literal = absolutePath(key, path))
                m_path.append(setting + *literal);
        }
    }
}

QString UnitBuilder::unitText(const QString &jobPath, const QString &type, const QStringList &lines,
                              const QString &target) const {
    QString description = m_job.value(u"Label"_s).toString().value_or(QString());
    for (QChar &c : description) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    while (description.endsWith(QLatin1Char('\\')))
        description.chop(1);
    QString text = SystemdUnitGenerator::marker(jobPath) + u"\n\n[Unit]\nDescription="_s +
                   SystemdEscape::literal(description) + QLatin1Char('\n');
    if (SystemdEscape::fitsOnLine(jobPath) && jobPath.startsWith(QLatin1Char('/')))
        text += u"SourcePath="_s + SystemdEscape::literal(jobPath) + QLatin1Char('\n');
    // launchd never gives up on a job it keeps alive.
    if (type == u"Service"_s && !m_restart.isEmpty())
        text += u"StartLimitIntervalSec=0\n"_s;
    text += u"\n["_s + type + u"]\n"_s + lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!target.isEmpty())
        text += u"\n[Install]\nWantedBy="_s + target + QLatin1Char('\n');
    return text;
}

SystemdUnits UnitBuilder::build(const QString &jobPath) {
    SystemdUnits result;
    const auto label = m_job.value(u"Label"_s).toString();
    const auto stem = label ? SystemdUnitGenerator::unitStem(*label) : std::nullopt;
    if (!stem)
        note(u"Label"_s, u"the job needs a label of at most %1 bytes"_s.arg(stemLimit));
    const auto command = commandLine();
    if (!stem || !command) {
        result.notes = m_notes;
        return result;
    }
    m_service.append(u"Type=simple"_s);
    m_service.append(u"ExecStart="_s + *command);
    addEnvironment();
    addIdentity();
    addOutput();
    addKeepAlive();
    addProcessSettings();
    addResourceLimits();
    addInterval();
    addCalendar();
    addPaths();
    if (boolean(u"RunAtLoad"_s) == true)
        m_isStartedAtLoad = true;
    result.isDisabled = boolean(u"Disabled"_s) == true;

    for (const QString &key : m_job.keys()) {
        if (!SystemdUnitGenerator::supportedKeys().contains(key))
            note(key, unsupported);
    }

    QString target;
    if (m_isStartedAtLoad)
        target = m_scope == SystemdScope::system ? u"multi-user.target"_s : u"default.target"_s;
    result.units.append(
        {*stem + u".service"_s, unitText(jobPath, u"Service"_s, m_service, target), target});
    if (!m_timer.isEmpty()) {
        if (m_hasCalendar)
            // A start missed while the machine was off or asleep comes when it is back.
            m_timer.append(u"Persistent=true"_s);
        m_timer.append(u"AccuracySec=1s"_s);
        result.units.append({*stem + u".timer"_s,
                             unitText(jobPath, u"Timer"_s, m_timer, u"timers.target"_s),
                             u"timers.target"_s});
    }
    if (!m_path.isEmpty())
        result.units.append({*stem + u".path"_s,
                             unitText(jobPath, u"Path"_s, m_path, u"paths.target"_s),
                             u"paths.target"_s});
    result.notes = m_notes;
    return result;
}

} // namespace

SystemdUnits SystemdUnitGenerator::generate(const PlistDict &job, SystemdScope scope,
                                            const QString &jobPath) {
    return UnitBuilder(job, scope).build(jobPath);
}

std::optional<QString> SystemdUnitGenerator::unitStem(const QString &label) {
    const QString stem = SystemdEscape::unitStem(label);
    if (stem.isEmpty() || stem.size() > stemLimit)
        return std::nullopt;
    return stem;
}

QString SystemdUnitGenerator::marker(const QString &jobPath) {
    return markerPrefix + escapedPath(jobPath);
}

std::optional<QString> SystemdUnitGenerator::markedJobPath(const QString &unitText) {
    const QString firstLine = unitText.section(QLatin1Char('\n'), 0, 0);
    if (!firstLine.startsWith(markerPrefix))
        return std::nullopt;
    QString path;
    const QString escaped = firstLine.mid(markerPrefix.size());
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        if (escaped.at(i) != QLatin1Char('\\') || i + 1 == escaped.size()) {
            path += escaped.at(i);
            continue;
        }
        const QChar next = escaped.at(++i);
        path += next == QLatin1Char('n')   ? QLatin1Char('\n')
                : next == QLatin1Char('r') ? QLatin1Char('\r')
                                           : next;
    }
    return path;
}

const QStringList &SystemdUnitGenerator::supportedKeys() {
    static const QStringList keys{
        u"Label"_s,
        u"Program"_s,
        u"ProgramArguments"_s,
        u"EnvironmentVariables"_s,
        u"WorkingDirectory"_s,
        u"RootDirectory"_s,
        u"UserName"_s,
        u"GroupName"_s,
        u"InitGroups"_s,
        u"StandardInPath"_s,
        u"StandardOutPath"_s,
        u"StandardErrorPath"_s,
        u"RunAtLoad"_s,
        u"KeepAlive"_s,
        u"OnDemand"_s,
        u"StartInterval"_s,
        u"StartCalendarInterval"_s,
        u"WatchPaths"_s,
        u"QueueDirectories"_s,
        u"ThrottleInterval"_s,
        u"ExitTimeOut"_s,
        u"Nice"_s,
        u"LowPriorityIO"_s,
        u"Umask"_s,
        u"AbandonProcessGroup"_s,
        u"LaunchOnlyOnce"_s,
        u"Disabled"_s,
        u"SoftResourceLimits"_s,
        u"HardResourceLimits"_s,
    };
    return keys;
}

} // namespace Vandra

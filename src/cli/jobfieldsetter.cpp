#include "cli/jobfieldsetter.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/sessiontype.h"
#include "schedule/whenswitches.h"

#include <QCoreApplication>

#include <optional>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

const QStringList booleanKeys = {QStringLiteral("LowPriorityIO"), QStringLiteral("LegacyTimers"),
                                 QStringLiteral("SessionCreate"), QStringLiteral("LaunchOnlyOnce"),
                                 QStringLiteral("AbandonProcessGroup")};
const QStringList textKeys = {QStringLiteral("UserName"), QStringLiteral("WorkingDirectory"),
                              QStringLiteral("StandardOutPath"),
                              QStringLiteral("StandardErrorPath")};

std::optional<bool> boolean(const QString &value) {
    if (value == QLatin1String("true") || value == QLatin1String("on"))
        return true;
    if (value == QLatin1String("false") || value == QLatin1String("off"))
        return false;
    return std::nullopt;
}

// Whether the form offers field for the job it shows: the same Bindings flags that enable
// its controls, so that the command line cannot make an edit the window would not.
bool isOfferedByForm(const QString &field) {
    const Bindings &bindings = Bindings::shared();
    if (bindings.isLocked())
        return false;
    if (field == QLatin1String("UserName"))
        return bindings.isUserNameEnabled();
    if (field == QLatin1String("machServices"))
        return bindings.isMachServicesEnabled();
    if (field == QLatin1String("successfulExit"))
        return bindings.isKeepAliveSuccessfulExitEnabled();
    return true;
}

} // namespace

QStringList JobFieldSetter::fieldNames() {
    return QStringList{QStringLiteral("run"),
                       QStringLiteral("label"),
                       QStringLiteral("enabled"),
                       QStringLiteral("keepAlive"),
                       QStringLiteral("successfulExit"),
                       QStringLiteral("watchPath"),
                       QStringLiteral("machServices"),
                       QStringLiteral("sessionType"),
                       QStringLiteral("scheduled"),
                       QStringLiteral("RunAtLoad"),
                       QStringLiteral("StartOnMount")} +
           booleanKeys + textKeys;
}

QString JobFieldSetter::apply(const QString &assignment) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return Texts::tr("expected FIELD=VALUE, got \"%1\"").arg(assignment);
    const QString field = assignment.left(equals);
    const QString value = assignment.mid(equals + 1);
    const std::optional<bool> flag = boolean(value);
    const auto needsFlag = [&field]() { return Texts::tr("%1 takes true or false").arg(field); };

    if (fieldNames().contains(field) && !isOfferedByForm(field))
        return Texts::tr("%1 cannot be changed: the editor does not offer it for this job")
            .arg(field);

    if (field == QLatin1String("run")) {
        m_job.setRun(value);
    } else if (field == QLatin1String("label")) {
        m_job.label = value;
        JobList::shared().markChanged(Change::generic);
    } else if (field == QLatin1String("enabled")) {
        if (!flag)
            return needsFlag();
        JobList::shared().markChanged(Change::selfUpdating);
        m_job.setEnabled(*flag);
    } else if (field == QLatin1String("keepAlive")) {
        if (!flag)
            return needsFlag();
        m_when.setSwitch(WhenSwitches::Switch::keepAlive, *flag);
    } else if (field == QLatin1String("successfulExit")) {
        if (!flag)
            return needsFlag();
        // The box offers what the file says: the successful-exit condition itself.
        m_job.isKeepAliveSuccessfulExitEnabled = *flag;
        m_job.setKeepAliveSuccessfulExitSet(*flag);
    } else if (field == QLatin1String("watchPath")) {
        m_job.setWatchPath(value);
    } else if (field == QLatin1String("machServices")) {
        m_job.setMachServicesKey(value);
    } else if (field == QLatin1String("sessionType")) {
        if (value == QLatin1String("off")) {
            m_job.setLimitLoadToSessionTypeEnabled(false);
            Bindings::shared().setLimitLoadToSessionTypeEnabled(false);
        } else {
            const std::optional<SessionType> type = SessionTypes::fromRaw(value);
            if (!type)
                return Texts::tr("unknown session type \"%1\"").arg(value);
            m_job.setLimitLoadToSessionTypeEnabled(true);
            Bindings::shared().setLimitLoadToSessionTypeEnabled(true);
            m_job.setLimitLoadToSessionTypeIndex(SessionTypes::allCases().indexOf(*type));
        }
    } else if (field == QLatin1String("scheduled")) {
        if (!flag)
            return needsFlag();
        m_when.setSwitch(WhenSwitches::Switch::scheduled, *flag);
    } else if (field == QLatin1String("RunAtLoad")) {
        if (!flag)
            return needsFlag();
        m_when.setSwitch(WhenSwitches::Switch::runAtLoad, *flag);
    } else if (field == QLatin1String("StartOnMount")) {
        if (!flag)
            return needsFlag();
        m_when.setSwitch(WhenSwitches::Switch::mountedVolume, *flag);
    } else if (booleanKeys.contains(field)) {
        if (!flag)
            return needsFlag();
        m_job.setPlistBool(field, *flag);
    } else if (textKeys.contains(field)) {
        m_job.setPlistText(field, value);
    } else {
        return Texts::tr("unknown field \"%1\" (one of: %2)")
            .arg(field, fieldNames().join(QStringLiteral(", ")));
    }
    return {};
}

} // namespace Vandra

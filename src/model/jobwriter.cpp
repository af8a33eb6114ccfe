#include "model/jobwriter.h"

#include "model/jobreader.h"
#include "model/launchdkey.h"
#include "model/schedulewriter.h"
#include "model/sessiontype.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/text.h"

namespace {

// A value read as a list of texts: a list unchanged, a single text as a list of one when
// allowed, anything else empty.
QStringList textList(const PlistValue &value, bool acceptSingleText) {
    if (std::optional<QStringList> texts = value.toStringList())
        return *texts;
    if (acceptSingleText) {
        if (std::optional<QString> text = value.toString())
            return {*text};
    }
    return {};
}

void writeRun(const Job &job, PlistDict &d) {
    d.remove(LaunchdKey::Program);
    d.remove(QStringLiteral("What"));
    const QStringList words = Text::separateCommand(job.run());
    if (words.size() == 1 && words.first().isEmpty())
        d.remove(LaunchdKey::ProgramArguments);
    else
        d.insert(LaunchdKey::ProgramArguments, PlistValue(words));
}

void writeKeepAlive(const Job &job, const PlistDict &read, PlistDict &d) {
    if (job.keepAlive().value_or(false)) {
        const bool successfulExit = job.isKeepAliveSuccessfulExitSet().value_or(true);
        d.insert(LaunchdKey::KeepAlive,
                 PlistValue(PlistDict{{LaunchdKey::SuccessfulExit, PlistValue(successfulExit)}}));
    } else {
        d.remove(LaunchdKey::KeepAlive);
    }
    if (read.value(LaunchdKey::OnDemand).isBool())
        d.remove(LaunchdKey::OnDemand);
}

void writeWatchPath(const Job &job, const PlistDict &read, PlistDict &d) {
    QStringList paths = textList(read.value(LaunchdKey::WatchPaths), false);
    if (!paths.isEmpty())
        paths.removeFirst();
    if (job.watchPath() && !job.watchPath()->isEmpty())
        paths.prepend(*job.watchPath());
    if (paths.isEmpty())
        d.remove(LaunchdKey::WatchPaths);
    else
        d.insert(LaunchdKey::WatchPaths, PlistValue(paths));
}

void writeMachServices(const Job &job, PlistDict &d) {
    if (job.machServicesKey() && !job.machServicesKey()->isEmpty())
        d.insert(LaunchdKey::MachServices,
                 PlistValue(PlistDict{{*job.machServicesKey(), PlistValue(true)}}));
    else
        d.remove(LaunchdKey::MachServices);
}

void writeSessionType(const Job &job, const PlistDict &read, PlistDict &d) {
    if (!job.isLimitLoadToSessionTypeEnabled()) {
        d.remove(LaunchdKey::LimitLoadToSessionType);
        return;
    }
    const std::optional<qint64> index = job.limitLoadToSessionTypeIndex();
    if (!index)
        return;
    const std::optional<SessionType> type = SessionTypes::fromIndex(*index);
    if (!type)
        return;
    QStringList types = textList(read.value(LaunchdKey::LimitLoadToSessionType), true);
    if (!types.isEmpty())
        types.removeFirst();
    const QString chosen = SessionTypes::rawValue(*type);
    types.removeOne(chosen);
    types.prepend(chosen);
    d.insert(LaunchdKey::LimitLoadToSessionType, PlistValue(types));
}

void addPath(PlistDict &d) {
    PlistValue *environment = d.find(LaunchdKey::EnvironmentVariables);
    PlistDict *variables = environment ? environment->dict() : nullptr;
    if (!variables) {
        d.insert(
            LaunchdKey::EnvironmentVariables,
            PlistValue(PlistDict{{QStringLiteral("PATH"), PlistValue(Const::Misc::defaultPATH)}}));
    } else if (!variables->contains(QStringLiteral("PATH"))) {
        variables->insert(QStringLiteral("PATH"), PlistValue(Const::Misc::defaultPATH));
    }
}

} // namespace

namespace JobWriter {

PlistDict makePlist(Job &job, const RuleRows *ruleRows) {
    if (!job.plist)
        return {};
    const PlistDict &read = *job.plist;
    PlistDict d = read;
    const Changes &changes = job.changes();

    d.insert(LaunchdKey::Label, PlistValue(job.label));
    // A Disabled that is no Boolean leaves the enabled state unset; like any key of an
    // unexpected type it goes back as read until the user sets the state.
    const bool isEnabledSet = job.enabledState().has_value();
    if (!job.enabledState().value_or(true))
        d.insert(LaunchdKey::Disabled, PlistValue(true));
    else if (isEnabledSet || read.value(LaunchdKey::Disabled).isBool())
        d.remove(LaunchdKey::Disabled);

    if (changes.contains(Change::run))
        writeRun(job, d);
    if (changes.contains(Change::keepAlive))
        writeKeepAlive(job, read, d);
    if (changes.contains(Change::watchPath))
        writeWatchPath(job, read, d);
    writeSchedule(ruleRows, job.isScheduledEnabled, d);
    if (changes.contains(Change::machServices))
        writeMachServices(job, d);
    if (changes.contains(Change::limitLoadToSessionType))
        writeSessionType(job, read, d);
    if (Defaults::shared().automaticPATH())
        addPath(d);
    if (!d.contains(LaunchdKey::ProgramArguments) && !d.contains(LaunchdKey::Program))
        d.insert(LaunchdKey::Program, PlistValue(QString()));
    return d;
}

std::optional<QString> fileText(Job &job, const RuleRows *ruleRows) {
    return JobReader::plistText(makePlist(job, ruleRows));
}

} // namespace JobWriter

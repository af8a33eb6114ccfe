#include "model/jobwriter.h"

#include "model/jobreader.h"
#include "model/launchdkey.h"
#include "model/schedulewriter.h"
#include "model/sessiontype.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/text.h"

namespace Vandra {

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

// The boxes edit what the file says: a condition the user did not change stays as written,
// and the successful-exit box edits only that entry of a KeepAlive dictionary.
void writeKeepAlive(const Job &job, const PlistDict &read, PlistDict &d) {
    const bool keepAlive = job.keepAlive().value_or(false);
    const bool successfulExit = job.isKeepAliveSuccessfulExitSet().value_or(true);
    const KeepAliveState before = JobReader::keepAliveState(read);
    if (keepAlive == before.keepAlive && (!keepAlive || successfulExit == before.successfulExit))
        return;
    if (keepAlive) {
        PlistValue conditions = read.value(LaunchdKey::KeepAlive);
        if (PlistDict *entries = conditions.dict())
            entries->insert(LaunchdKey::SuccessfulExit, PlistValue(successfulExit));
        else
            conditions = PlistDict{{LaunchdKey::SuccessfulExit, PlistValue(successfulExit)}};
        d.insert(LaunchdKey::KeepAlive, std::move(conditions));
    } else {
        d.remove(LaunchdKey::KeepAlive);
    }
    if (read.value(LaunchdKey::OnDemand).isBool())
        d.remove(LaunchdKey::OnDemand);
}

void writeWatchPath(const Job &job, const PlistDict &read, PlistDict &d) {
    QStringList paths = textList(read.value(LaunchdKey::WatchPaths), false);
    // The field set to what it shows leaves the key as written, whatever its form.
    const QString shown = paths.isEmpty() ? QString() : paths.first();
    if (job.watchPath().value_or(QString()) == shown)
        return;
    if (!paths.isEmpty())
        paths.removeFirst();
    if (job.watchPath() && !job.watchPath()->isEmpty())
        paths.prepend(*job.watchPath());
    if (paths.isEmpty())
        d.remove(LaunchdKey::WatchPaths);
    else
        d.insert(LaunchdKey::WatchPaths, PlistValue(paths));
}

// The field holds the first service name: editing it renames that entry, keeping its
// options, and every other name stays.
void writeMachServices(const Job &job, const PlistDict &read, PlistDict &d) {
    const QString name = job.machServicesKey().value_or(QString());
    const PlistValue services = read.value(LaunchdKey::MachServices);
    QList<PlistDict::Entry> entries;
    if (const PlistDict *dict = services.dict())
        entries = dict->entries();
    if (name == (entries.isEmpty() ? QString() : entries.first().first))
        return;
    if (entries.isEmpty()) {
        if (!name.isEmpty())
            entries.append({name, PlistValue(true)});
    } else if (name.isEmpty()) {
        entries.removeFirst();
    } else {
        entries.first().first = name;
    }
    if (entries.isEmpty())
        d.remove(LaunchdKey::MachServices);
    else
        d.insert(LaunchdKey::MachServices, PlistValue(PlistDict::fromEntries(std::move(entries))));
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
    // The rows cannot show every schedule launchd accepts, so the keys are rebuilt only
    // when the user changed the schedule; otherwise they go back as written.
    if (changes.contains(Change::time))
        writeSchedule(ruleRows, job.isScheduledEnabled, d);
    if (changes.contains(Change::machServices))
        writeMachServices(job, read, d);
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

} // namespace Vandra

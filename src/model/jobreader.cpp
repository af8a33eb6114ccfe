#include "model/jobreader.h"

#include "model/launchdkey.h"
#include "model/schedulereader.h"
#include "model/sessiontype.h"
#include "platform/plistcodec.h"
#include "support/const.h"
#include "support/text.h"

#include <QDir>
#include <QFileInfo>

namespace Vandra {

Q_LOGGING_CATEGORY(lcJobReader, "vandra.jobreader")

namespace {

// The text after the last dot of a path component, unless the dot starts the component.
QString extensionOf(const QString &component) {
    const qsizetype dot = component.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return {};
    return component.mid(dot + 1);
}

std::optional<QString> iconLocationFor(const QString &command, const ReadOptions &options) {
    if (!command.startsWith(QLatin1Char('/')))
        return std::nullopt;
    if (command.contains(QLatin1Char('.'))) {
        // Walk up from the program so that one inside a bundle gives the bundle.
        QString location = command;
        const qsizetype components = command.split(QLatin1Char('/'), Qt::SkipEmptyParts).size();
        for (qsizetype i = 0; i < components && location.size() > 1; ++i) {
            if (!extensionOf(Text::lastPathComponent(location)).isEmpty())
                return location;
            location = QFileInfo(location).path();
        }
        return std::nullopt;
    }
    if (command == Const::Command::osascript)
        return options.scriptEditor;
    return command;
}

} // namespace

namespace JobReader {

void readJobFile(Kind kind, const QString &location, QList<JobPtr> &list,
                 const ReadOptions &options) {
    if (JobPtr job = readJob(kind, location, options))
        list.append(std::move(job));
}

namespace {

JobPtr jobFromResult(Kind kind, const PlistReadResult &result, const QString &location,
                     const ReadOptions &options) {
    const PlistDict *dict = result.value ? result.value->dict() : nullptr;
    if (!dict) {
        // The reason goes with the path, so that a file that is merely malformed is never
        // taken for a broken link.
        const QString reason =
            !result.ok() ? result.error : QStringLiteral("its top level is not a dictionary");
        qCWarning(lcJobReader).noquote()
            << QStringLiteral("The job %1 does not contain a valid job: %2").arg(location, reason);
        return {};
    }
    return jobFromPlist(*dict, location, kind, options);
}

} // namespace

JobPtr readJob(Kind kind, const QString &location, const ReadOptions &options) {
    if (kind == Kind::localStartupItem || kind == Kind::systemStartupItem)
        return readStartupItem(location, kind);
    return jobFromResult(kind, PlistCodec::readFile(location), location, options);
}

JobPtr readJobAt(Kind kind, int folder, const char *name, const QString &location,
                 const ReadOptions &options, QByteArray &buffer) {
    if (kind == Kind::localStartupItem || kind == Kind::systemStartupItem)
        return readStartupItem(location, kind);
    return jobFromResult(kind, PlistCodec::readFileAt(folder, name, location, buffer), location,
                         options);
}

JobPtr jobFromPlist(const PlistDict &plist, const std::optional<QString> &location,
                    std::optional<Kind> kind, const ReadOptions &options) {
    if (plist.isEmpty())
        return {};
    const std::optional<QString> label = plist.value(LaunchdKey::Label).toString();
    if (!label)
        return {};
    const bool isHelperJob = label->startsWith(Const::labelPrefix);
    if (isHelperJob && !options.showInternalHelpers)
        return {};

    auto job = std::make_shared<Job>();
    job->label = *label;
    job->originalLabel = *label;
    job->plist = plist;
    job->url = location;
    job->kind = kind;
    job->originalKind = kind;
    job->summary = summaryFromPlist(plist);
    job->textContent = JobText::of(plist);
    applyPlist(*job, options);

    if (kind == Kind::localDaemon)
        job->isUserNameEnabled = true;
    else if (!options.isEditable(kind))
        job->setLocked(true);
    if (isHelperJob)
        job->setLocked(true);
    return job;
}

void applyPlist(Job &job, const ReadOptions &options) {
    if (!job.plist)
        return;
    const PlistDict &plist = *job.plist;

    if (const std::optional<bool> disabled = plist.value(LaunchdKey::Disabled).toBool())
        job.setEnabled(!*disabled);

    const RunComposition composition = composeRun(plist, options);
    if (!composition.run.isEmpty())
        job.setRun(composition.run);
    job.runIcon = composition.iconLocation;

    const KeepAliveState keepAlive = keepAliveState(plist);
    job.setKeepAlive(keepAlive.keepAlive);
    job.setKeepAliveSuccessfulExitSet(keepAlive.successfulExit);

    if (const std::optional<QStringList> paths = plist.value(LaunchdKey::WatchPaths).toStringList();
        paths && !paths->isEmpty()) {
        job.setWatchPath(paths->first());
    }

    QList<ScheduledType> rules = readSchedule(plist);
    if (!rules.isEmpty()) {
        // Grown rule by rule; the record keeps the rules without the room to grow.
        rules.squeeze();
        job.scheduled = rules;
        job.isScheduledEnabled = true;
    }

    const PlistValue machServices = plist.value(LaunchdKey::MachServices);
    if (const PlistDict *services = machServices.dict()) {
        if (services->size() > 1)
            job.isMachServicesEnabled = false;
        // The field shows and edits the first name; the writer keeps the others.
        if (!services->isEmpty())
            job.setMachServicesKey(services->entries().first().first);
        for (const auto &[name, value] : *services) {
            if (value.isDict()) {
                job.isMachServicesEnabled = false;
                break;
            }
        }
    }

    const PlistValue sessionType = plist.value(LaunchdKey::LimitLoadToSessionType);
    if (!sessionType.isNone()) {
        QString candidate;
        if (const std::optional<QStringList> types = sessionType.toStringList();
            types && !types->isEmpty()) {
            candidate = types->first();
        } else if (const std::optional<QString> type = sessionType.toString()) {
            candidate = *type;
        }
        if (const std::optional<SessionType> type = SessionTypes::fromRaw(candidate)) {
            job.setLimitLoadToSessionTypeIndex(SessionTypes::allCases().indexOf(*type));
            job.setLimitLoadToSessionTypeEnabled(true);
        }
    }

    job.setChanges({});
}

KeepAliveState keepAliveState(const PlistDict &plist) {
    KeepAliveState state;
    const PlistValue keepAlive = plist.value(LaunchdKey::KeepAlive);
    if (const PlistDict *conditions = keepAlive.dict()) {
        state.keepAlive = true;
        state.successfulExit =
            conditions->value(LaunchdKey::SuccessfulExit).toBool().value_or(false);
    } else if (!keepAlive.isNone()) {
        state.keepAlive = keepAlive.toBool().value_or(false);
    } else {
        state.keepAlive = plist.value(LaunchdKey::OnDemand).toBool() == false;
    }
    return state;
}

QStringList programArguments(const PlistDict &plist) {
    const PlistValue value = plist.value(LaunchdKey::ProgramArguments);
    if (std::optional<QStringList> arguments = value.toStringList())
        return *arguments;
    if (std::optional<QString> argument = value.toString())
        return {*argument};
    return {};
}

RunComposition composeRun(const PlistDict &plist, const ReadOptions &options) {
    const QString program = plist.value(LaunchdKey::Program).toString().value_or(QString());
    QStringList arguments = programArguments(plist);
    if (!arguments.isEmpty() &&
        (arguments.first() == Text::lastPathComponent(program) || arguments.first() == program)) {
        arguments.removeFirst();
    }

    RunComposition composition;
    const QString command = !program.isEmpty()     ? program
                            : !arguments.isEmpty() ? arguments.first()
                                                   : QString();
    if (!command.isEmpty())
        composition.iconLocation = iconLocationFor(command, options);

    // Every word is quoted so that splitting the Run text gives the same arguments back,
    // a program path with spaces included.
    if (!program.isEmpty())
        arguments.prepend(program);
    composition.run = Text::joinCommand(arguments);
    return composition;
}

QString summaryFromPlist(const PlistDict &plist) {
    QString text;
    if (const std::optional<QString> program = plist.value(LaunchdKey::Program).toString())
        text += Text::lastPathComponent(*program);
    QStringList arguments = programArguments(plist);
    if (!arguments.isEmpty() && arguments.first() == Text::lastPathComponent(text))
        arguments.removeFirst();
    for (const QString &argument : std::as_const(arguments)) {
        if (text.isEmpty())
            text = Text::lastPathComponent(argument);
        else
            text += QLatin1Char(' ') + argument;
    }
    // Built piece by piece, with room to grow that a record, kept for the whole list, never uses.
    QString summary = Text::shortenHomeFolder(text);
    summary.squeeze();
    return summary;
}

std::optional<QString> plistText(const PlistDict &plist) {
    QString error;
    const std::optional<QByteArray> xml = PlistCodec::toXml(PlistValue(plist), &error);
    if (!xml) {
        qCWarning(lcJobReader).noquote() << QStringLiteral("Plist error: %1").arg(error);
        return std::nullopt;
    }
    return QString::fromUtf8(*xml);
}

JobPtr readStartupItem(const QString &folder, Kind kind) {
    auto job = std::make_shared<Job>();
    const QString parameters = folder + QLatin1Char('/') + Const::FileName::startupParameters;
    const PlistReadResult result = PlistCodec::readFile(parameters);
    if (const PlistDict *dict = result.value ? result.value->dict() : nullptr) {
        if (const std::optional<QString> description =
                dict->value(Const::StartupItemKey::description).toString()) {
            job->label = *description;
            job->originalLabel = *description;
        }
        if (const std::optional<QStringList> provides =
                dict->value(Const::StartupItemKey::provides).toStringList();
            provides && !provides->isEmpty()) {
            job->summary = provides->first();
        }
        job->textContent = JobText::of(*dict);
    }
    const QString executable = folder + QLatin1Char('/') + QFileInfo(folder).fileName();
    job->setRun(executable);
    job->runIcon = executable;
    job->url = folder;
    job->kind = kind;
    job->originalKind = kind;
    job->setLocked(true);
    if (job->label.isEmpty() || job->run().isEmpty())
        return {};
    return job;
}

} // namespace JobReader

} // namespace Vandra

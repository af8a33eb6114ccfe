#include "actionservice.h"

#include "helper/helperlog.h"
#include "helper/loadbackend.h"
#include "helper/logreader.h"
#include "helper/testjobrunner.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <unistd.h>

namespace Vandra {

namespace {

using Code = Action::ErrorCode;

const QString labelKey = QStringLiteral("Label");

QString kindName(Action::Kind kind) {
    switch (kind) {
    case Action::Kind::save:
        return QStringLiteral("save");
    case Action::Kind::saveAndLoad:
        return QStringLiteral("saveAndLoad");
    case Action::Kind::remove:
        return QStringLiteral("remove");
    case Action::Kind::unload:
        return QStringLiteral("unload");
    case Action::Kind::load:
        return QStringLiteral("load");
    case Action::Kind::test:
        return QStringLiteral("test");
    case Action::Kind::uninstallHelpers:
        return QStringLiteral("uninstallHelpers");
    case Action::Kind::log:
        return QStringLiteral("log");
    case Action::Kind::start:
        return QStringLiteral("start");
    case Action::Kind::stop:
        return QStringLiteral("stop");
    case Action::Kind::status:
        return QStringLiteral("status");
    case Action::Kind::reserved3:
    case Action::Kind::reserved7:
        break;
    }
    return QStringLiteral("kind %1").arg(int(kind));
}

// A text value, or none; absent and mistyped are told apart through isPresent.
std::optional<QString> text(const PlistDict &request, const QString &key,
                            bool *isPresent = nullptr) {
    const PlistValue *value = request.find(key);
    if (isPresent)
        *isPresent = value != nullptr;
    return value ? value->toString() : std::nullopt;
}

std::optional<PlistDict> jobDictionary(const QByteArray &bytes) {
    // A job's text comes as text, never in the binary form, whose reading is the costly one
    // and would hold up every other client while it runs.
    if (bytes.startsWith("bplist"))
        return std::nullopt;
    PlistReadResult result = PlistCodec::read(bytes);
    if (!result.ok() || !result.value->isDict())
        return std::nullopt;
    return std::move(*result.value->dict());
}

// How long a burst of the manager's changes has to settle before waiting status requests
// are answered, in ms.
constexpr int statusSettleTime = 100;

// Job files are far below this.
constexpr qint64 jobFileLimit = 1024 * 1024;

bool removeFile(const PathPolicy::Resolved &file, QString *error) {
    std::optional<PathPolicy::Place> place = PathPolicy::place(file, error);
    return place && place->folder.removeFile(place->name, error);
}

bool writeFile(const PathPolicy::Resolved &file, const QByteArray &bytes, QString *error) {
    std::optional<PathPolicy::Place> place = PathPolicy::place(file, error);
    return place && place->folder.writeFile(place->name, bytes, 0644, error);
}

std::optional<PlistDict> readJob(const PathPolicy::Resolved &file) {
    QString error;
    std::optional<PathPolicy::Place> place = PathPolicy::place(file, &error);
    const auto bytes =
        place ? place->folder.readFile(place->name, jobFileLimit, &error) : std::nullopt;
    return bytes ? jobDictionary(*bytes) : std::nullopt;
}

} // namespace

ActionService::ActionService(Parts parts, QObject *parent)
    : QObject(parent)
    , m_parts(std::move(parts))
    , m_statusTimer(new QTimer(this)) {
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(statusSettleTime);
    connect(m_statusTimer, &QTimer::timeout, this, &ActionService::answerWaiters);
    m_parts.backend->watch([this] { statusChanged(); });
    if (m_parts.runner)
        connect(m_parts.runner, &TestJobRunner::runningCountChanged, this,
                &ActionService::busyChanged);
    if (m_parts.logReader)
        connect(m_parts.logReader, &LogReader::runningCountChanged, this,
                &ActionService::busyChanged);
}

ActionService::~ActionService() = default;

bool ActionService::isBusy() const {
    return (m_parts.runner && m_parts.runner->runningCount() > 0) ||
           (m_parts.logReader && m_parts.logReader->runningCount() > 0);
}

PlistDict ActionService::errorReply(Action::ErrorCode code, const QString &description) {
    return PlistDict{{ActionKey::error, actionErrorDictionary(code, description)}};
}

PlistDict ActionService::refuse(Action::ErrorCode code, const QString &kindName,
                                const QString &why) const {
    qCInfo(lcHelper).noquote() << m_parts.name << "refused a" << kindName << "request:" << why;
    return errorReply(code, why);
}

void ActionService::handle(const PlistDict &request, const Reply &reply) {
    const PlistValue *kindValue = request.find(ActionKey::kind);
    const auto raw = kindValue ? kindValue->toInteger() : std::nullopt;
    const auto kind = raw ? Action::kindFromRaw(*raw) : std::nullopt;
    if (!kind) {
        const QString why = !kindValue ? QStringLiteral("it has no kind")
                            : !raw     ? QStringLiteral("its kind is not an integer")
                                       : QStringLiteral("its kind %1 is out of range").arg(*raw);
        reply(refuse(Code::unknownKind, QStringLiteral("request"), why));
        return;
    }
    switch (*kind) {
    case Action::Kind::save:
        reply(save(request, false));
        return;
    case Action::Kind::saveAndLoad:
        reply(save(request, true));
        return;
    case Action::Kind::remove:
        reply(remove(request));
        return;
    case Action::Kind::unload:
        reply(unload(request));
        return;
    case Action::Kind::load:
        reply(load(request));
        return;
    case Action::Kind::test:
        test(request, reply);
        return;
    case Action::Kind::log:
        log(request, reply);
        return;
    case Action::Kind::start:
        reply(startOrStop(request, true));
        return;
    case Action::Kind::stop:
        reply(startOrStop(request, false));
        return;
    case Action::Kind::status:
        status(request, reply);
        return;
    case Action::Kind::uninstallHelpers:
        if (!m_parts.isPrivileged) {
            reply(refuse(Code::unknownKind, kindName(*kind),
                         QStringLiteral("only the privileged helper removes helpers")));
            return;
        }
        reply(uninstallHelpers());
        Q_EMIT uninstallRequested();
        return;
    case Action::Kind::reserved3:
    case Action::Kind::reserved7:
        break;
    }
    reply(refuse(Code::unknownKind, kindName(*kind), QStringLiteral("no request has this kind")));
}

PlistDict ActionService::save(const PlistDict &request, bool andLoad) {
    const QString name = kindName(andLoad ? Action::Kind::saveAndLoad : Action::Kind::save);
    const auto path = text(request, ActionKey::path);
    const auto string = text(request, ActionKey::string);
    if (!path || !string)
        return refuse(Code::cantSave, name, QStringLiteral("it needs a path and a string"));
    const PathPolicy::Resolved target = m_parts.policy.jobFile(*path);
    if (!target.ok())
        return refuse(Code::cantSave, name,
                      QStringLiteral("path %1: %2").arg(*path, target.refusal));
    bool hasDeletePath = false;
    const auto deletePath = text(request, ActionKey::deletePath, &hasDeletePath);
    std::optional<PathPolicy::Resolved> old;
    if (hasDeletePath) {
        if (!deletePath)
            return refuse(Code::cantSave, name, QStringLiteral("deletePath is not a text"));
        const PathPolicy::Resolved resolved = m_parts.policy.removableFile(*deletePath);
        if (!resolved.ok())
            return refuse(Code::cantSave, name,
                          QStringLiteral("deletePath %1: %2").arg(*deletePath, resolved.refusal));
        old = resolved;
    }
    const QByteArray bytes = string->toUtf8();
    const auto job = jobDictionary(bytes);
    if (!job)
        return refuse(Code::cantSave, name,
                      QStringLiteral("the text is not a property-list dictionary"));
    QString label = job->value(labelKey).toString().value_or(QString());
    if (label.isEmpty())
        label = text(request, ActionKey::label).value_or(QString());
    if (andLoad && label.isEmpty())
        return refuse(Code::cantSave, name, QStringLiteral("the job has no label to load"));

    QString error;
    if (!writeFile(target, bytes, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not write" << *target.path << error;
        return errorReply(Code::cantSave, error);
    }
    if (old && *old->path != *target.path && !removeFile(*old, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not remove" << *old->path << error;
        return errorReply(Code::cantRemove, error);
    }
    if (andLoad && !m_parts.backend->load(label, *target.path, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not load" << label << error;
        return errorReply(Code::cantLoad, error);
    }
    if (andLoad)
        statusChanged();
    return {};
}

PlistDict ActionService::remove(const PlistDict &request) {
    const QString name = kindName(Action::Kind::remove);
    const auto deletePath = text(request, ActionKey::deletePath);
    if (!deletePath)
        return refuse(Code::cantRemove, name, QStringLiteral("it needs a deletePath"));
    const PathPolicy::Resolved target = m_parts.policy.removableFile(*deletePath);
    if (!target.ok())
        return refuse(Code::cantRemove, name,
                      QStringLiteral("deletePath %1: %2").arg(*deletePath, target.refusal));
    const auto label = text(request, ActionKey::label);
    QString error;
    // A removed job does not stay loaded.
    if (label && !label->isEmpty() && m_parts.backend->isLoaded(*label) &&
        !m_parts.backend->unload(label, target.path, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not unload" << *label << error;
        return errorReply(Code::cantUnload, error);
    }
    if (!removeFile(target, &error)) {
        qCWarning(lcHelper).noquote()
            << m_parts.name << "could not remove" << *target.path << error;
        return errorReply(Code::cantRemove, error);
    }
    statusChanged();
    return {};
}

PlistDict ActionService::unload(const PlistDict &request) {
    const QString name = kindName(Action::Kind::unload);
    bool hasPath = false;
    bool hasLabel = false;
    const auto path = text(request, ActionKey::path, &hasPath);
    const auto label = text(request, ActionKey::label, &hasLabel);
    if ((hasPath && !path) || (hasLabel && !label) || (!path && !label))
        return refuse(Code::cantUnload, name,
                      QStringLiteral("it needs a path or a label, as texts"));

    QString error;
    if (path) {
        if (const PathPolicy::Resolved test = m_parts.policy.testFile(*path); test.ok()) {
            if (!unloadTestJob(test, label, &error))
                return errorReply(Code::cantUnload, error);
            return {};
        }
    } else if (const PathPolicy::Resolved test = m_parts.policy.testFile(m_testLabels.key(*label));
               test.ok()) {
        if (!unloadTestJob(test, label, &error))
            return errorReply(Code::cantUnload, error);
        return {};
    }

    std::optional<QString> target;
    if (path) {
        PathPolicy::Resolved resolved = m_parts.policy.loadableFile(*path);
        if (!resolved.ok())
            resolved = m_parts.policy.removableFile(*path);
        if (!resolved.ok())
            return refuse(Code::cantUnload, name,
                          QStringLiteral("path %1: %2").arg(*path, resolved.refusal));
        target = resolved.path;
    }
    if (!m_parts.backend->unload(label, target, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not unload:" << error;
        return errorReply(Code::cantUnload, error);
    }
    statusChanged();
    return {};
}

PlistDict ActionService::load(const PlistDict &request) {
    const QString name = kindName(Action::Kind::load);
    const auto path = text(request, ActionKey::path);
    if (!path)
        return refuse(Code::cantLoad, name, QStringLiteral("it needs a path"));
    const PathPolicy::Resolved target = m_parts.policy.loadableFile(*path);
    if (!target.ok())
        return refuse(Code::cantLoad, name,
                      QStringLiteral("path %1: %2").arg(*path, target.refusal));
    const auto job = readJob(target);
    if (!job)
        return refuse(Code::cantLoad, name,
                      QStringLiteral("%1 is not a job file").arg(*target.path));
    const QString label = job->value(labelKey).toString().value_or(QString());
    if (label.isEmpty())
        return refuse(Code::cantLoad, name, QStringLiteral("%1 has no label").arg(*target.path));
    QString error;
    if (!m_parts.backend->load(label, *target.path, &error)) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not load" << label << error;
        return errorReply(Code::cantLoad, error);
    }
    statusChanged();
    return {};
}

void ActionService::test(const PlistDict &request, const Reply &reply) {
    const QString name = kindName(Action::Kind::test);
    const auto testPath = text(request, ActionKey::testPath);
    const auto outputPath = text(request, ActionKey::testOutputPath);
    const auto string = text(request, ActionKey::string);
    const auto label = text(request, ActionKey::label);
    if (!testPath || !outputPath || !string || !label || label->isEmpty()) {
        reply(
            refuse(Code::testError, name,
                   QStringLiteral("it needs a testPath, a testOutputPath, a string and a label")));
        return;
    }
    const PathPolicy::Resolved job = m_parts.policy.testFile(*testPath);
    const PathPolicy::Resolved output = m_parts.policy.testFile(*outputPath);
    if (!job.ok() || !output.ok() || *job.path == *output.path) {
        const QString why =
            !job.ok() ? QStringLiteral("testPath %1: %2").arg(*testPath, job.refusal)
            : !output.ok()
                ? QStringLiteral("testOutputPath %1: %2").arg(*outputPath, output.refusal)
                : QStringLiteral("the job and its output are one file");
        reply(refuse(Code::testError, name, why));
        return;
    }
    if (m_parts.runner->isRunning(*label)) {
        reply(refuse(Code::testError, name,
                     QStringLiteral("a test of label %1 runs already").arg(*label)));
        return;
    }
    const QByteArray bytes = string->toUtf8();
    const auto dict = jobDictionary(bytes);
    const auto command = dict ? TestJobRunner::command(*dict) : std::nullopt;
    if (!command) {
        reply(refuse(Code::testError, name, QStringLiteral("the test job names no program")));
        return;
    }
    QString error;
    std::optional<PathPolicy::Place> outputPlace = PathPolicy::place(output, &error);
    const int outputFile =
        outputPlace ? outputPlace->folder.openOutput(outputPlace->name, &error) : -1;
    if (outputFile < 0 || !writeFile(job, bytes, &error) ||
        !m_parts.backend->load(*label, *job.path, &error)) {
        if (outputFile >= 0)
            ::close(outputFile);
        qCWarning(lcHelper).noquote() << m_parts.name << "could not set up test" << *label << error;
        reply(errorReply(Code::testError, error));
        return;
    }
    m_testOutputs.insert(*job.path, *output.path);
    m_testLabels.insert(*job.path, *label);
    const bool started = m_parts.runner->start(
        *label, *command, outputFile,
        [reply](const QString &text) {
            reply(PlistDict{{ActionKey::test, text}});
        },
        &error);
    if (!started) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not start test" << *label << error;
        reply(errorReply(Code::testError, error));
    }
}

bool ActionService::unloadTestJob(const PathPolicy::Resolved &testJob,
                                  const std::optional<QString> &label, QString *error) {
    const QString &testPath = *testJob.path;
    const QString runLabel = label.value_or(m_testLabels.value(testPath));
    if (!runLabel.isEmpty())
        m_parts.runner->stop(runLabel);
    QString output = m_testOutputs.take(testPath);
    m_testLabels.remove(testPath);
    if (output.isEmpty()) {
        // A test started before this helper did: its job file names its output.
        if (const auto job = readJob(testJob))
            output = job->value(QStringLiteral("StandardOutPath")).toString().value_or(QString());
    }
    if (!output.isEmpty()) {
        const PathPolicy::Resolved resolved = m_parts.policy.testFile(output);
        if (resolved.ok() && !removeFile(resolved, error))
            return false;
    }
    return removeFile(testJob, error) &&
           m_parts.backend->unload(runLabel.isEmpty() ? std::nullopt : std::optional(runLabel),
                                   testPath, error);
}

void ActionService::log(const PlistDict &request, const Reply &reply) {
    QString error;
    auto query = LogReader::parse(request.value(ActionKey::logQuery), &error);
    if (!query) {
        reply(refuse(Code::logError, kindName(Action::Kind::log), error));
        return;
    }
    if (const auto unit = m_parts.backend->journalUnit(query->searchString)) {
        query->unit = unit->name;
        query->isUserUnit = unit->isUserUnit;
    }
    const QString serviceName = m_parts.name;
    m_parts.logReader->query(
        *query, outputFilesOf(query->searchString),
        [reply, serviceName](const std::optional<QList<LogEntry>> &entries, const QString &error) {
            if (!entries) {
                qCWarning(lcHelper).noquote() << serviceName << "log query failed:" << error;
                reply(errorReply(Code::logError, error));
                return;
            }
            reply(PlistDict{{ActionKey::logQuery, LogEntries::toValue(*entries)}});
        });
}

QStringList ActionService::outputFilesOf(const QString &label) const {
    std::optional<PlistDict> job;
    if (const auto loaded = m_parts.backend->pathOf(label)) {
        if (const PathPolicy::Resolved resolved = m_parts.policy.jobFile(*loaded); resolved.ok())
            job = readJob(resolved);
    }
    if (!job) {
        // Not loaded: look for the job among the served folders' files.
        const QStringList folders = m_parts.policy.folders().served;
        for (const QString &folder : folders) {
            const QFileInfoList files = QDir(folder).entryInfoList(
                {QStringLiteral("*.plist")}, QDir::Files | QDir::Readable, QDir::Name);
            for (const QFileInfo &file : files) {
                const PathPolicy::Resolved resolved =
                    m_parts.policy.jobFile(file.absoluteFilePath());
                const auto read = resolved.ok() ? readJob(resolved) : std::nullopt;
                if (read && read->value(labelKey).toString() == label) {
                    job = read;
                    break;
                }
            }
            if (job)
                break;
        }
    }
    QStringList files;
    if (!job)
        return files;
    for (const QString &key :
         {QStringLiteral("StandardOutPath"), QStringLiteral("StandardErrorPath")}) {
        const QString path = job->value(key).toString().value_or(QString());
        if (!path.isEmpty() && !files.contains(path))
            files.append(path);
    }
    return files;
}

PlistDict ActionService::uninstallHelpers() {
    // Nothing is installed system-wide on Linux: the helpers live beside the program. What is
    // left is this helper's own record of loaded jobs, and the helper itself, which ends.
    qCInfo(lcHelper).noquote() << m_parts.name << "removes its helpers and ends";
    return {};
}

PlistDict ActionService::startOrStop(const PlistDict &request, bool isStart) {
    const QString name = kindName(isStart ? Action::Kind::start : Action::Kind::stop);
    const Code code = isStart ? Code::cantLoad : Code::cantUnload;
    const auto label = text(request, ActionKey::label);
    if (!label || label->isEmpty())
        return refuse(code, name, QStringLiteral("it needs a label"));
    // Only jobs this helper loaded, from the folders it serves, are started or stopped here.
    const auto path = m_parts.backend->pathOf(*label);
    if (!path || !m_parts.policy.loadableFile(*path).ok())
        return refuse(code, name, QStringLiteral("%1 is not loaded here").arg(*label));
    QString error;
    const bool done =
        isStart ? m_parts.backend->start(*label, &error) : m_parts.backend->stop(*label, &error);
    if (!done) {
        qCWarning(lcHelper).noquote() << m_parts.name << "could not" << name << *label << error;
        return errorReply(code, error);
    }
    statusChanged();
    return {};
}

void ActionService::status(const PlistDict &request, const Reply &reply) {
    const auto since = request.value(ActionKey::changedSince).toInteger();
    if (since && *since == m_generation) {
        m_statusWaiters.append(reply);
        return;
    }
    reply(statusReply());
}

PlistDict ActionService::statusReply() const {
    PlistDict jobs;
    for (const QString &label : m_parts.backend->loadedLabels()) {
        const auto path = m_parts.backend->pathOf(label);
        if (path && m_parts.policy.testFile(*path).ok())
            continue;
        if (const auto status = m_parts.backend->status(label))
            jobs.insert(label, status->toDict());
    }
    return PlistDict{{ActionKey::status, jobs},
                     {ActionKey::backend, m_parts.backend->name()},
                     {ActionKey::generation, m_generation}};
}

void ActionService::statusChanged() {
    ++m_generation;
    if (!m_statusWaiters.isEmpty())
        m_statusTimer->start();
}

void ActionService::answerWaiters() {
    const QList<Reply> waiters = std::exchange(m_statusWaiters, {});
    if (waiters.isEmpty())
        return;
    const PlistDict reply = statusReply();
    for (const Reply &waiter : waiters)
        waiter(reply);
}

} // namespace Vandra

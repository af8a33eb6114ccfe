#include "statefilebackend.h"

#include "helper/plistfile.h"
#include "platform/atomicfile.h"
#include "platform/filelock.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace Vandra {

namespace {

const QString loadedKey = QStringLiteral("Loaded");
const QString historyKey = QStringLiteral("History");
const QString labelKey = QStringLiteral("Label");
const QString pathKey = QStringLiteral("Path");
const QString operationKey = QStringLiteral("Operation");

PlistDict entryDict(const QString &label, const QString &path) {
    return PlistDict{{labelKey, label}, {pathKey, path}};
}

void record(PlistDict &state, const QString &operation, const QString &label, const QString &path) {
    const PlistValue *kept = state.find(historyKey);
    PlistArray history = kept && kept->array() ? *kept->array() : PlistArray();
    history.append(PlistDict{{operationKey, operation}, {labelKey, label}, {pathKey, path}});
    if (history.size() > StateFileBackend::historyLimit)
        history.remove(0, history.size() - StateFileBackend::historyLimit);
    state.insert(historyKey, history);
}

} // namespace

PlistDict StateFileBackend::read() const {
    if (!QFileInfo::exists(m_stateFile))
        return {};
    const PlistReadResult result = PlistFile::read(m_stateFile);
    if (!result.ok() || !result.value->dict())
        return {};
    return *result.value->dict();
}

bool StateFileBackend::write(const PlistDict &state, QString *error) const {
    const auto bytes = PlistCodec::toXml(PlistValue(state), error);
    if (!bytes)
        return false;
    const QFileInfo file(m_stateFile);
    const int folder = ::open(QFile::encodeName(file.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        *error = QStringLiteral("cannot open the folder of %1").arg(m_stateFile);
        return false;
    }
    const bool written = AtomicFile::write(folder, file.fileName(), *bytes, 0644, error);
    ::close(folder);
    return written;
}

void StateFileBackend::removeTemporaries() const {
    const QFileInfo file(m_stateFile);
    const int folder = ::open(QFile::encodeName(file.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    AtomicFile::removeTemporaries(folder, file.fileName());
    ::close(folder);
}

QList<StateFileBackend::Entry> StateFileBackend::loaded() const {
    return entries(read());
}

QList<StateFileBackend::Entry> StateFileBackend::entries(const PlistDict &state) {
    QList<Entry> entries;
    const PlistValue *value = state.find(loadedKey);
    const PlistArray *array = value ? value->array() : nullptr;
    if (!array)
        return entries;
    for (const PlistValue &element : *array) {
        const PlistDict *dict = element.dict();
        if (!dict)
            continue;
        const auto label = dict->value(labelKey).toString();
        const auto path = dict->value(pathKey).toString();
        if (label && path)
            entries.append({*label, *path});
    }
    return entries;
}

bool StateFileBackend::lock(FileLock &file, QString *error) const {
    QString reason;
    if (!QDir().mkpath(QFileInfo(m_stateFile).absolutePath()) ||
        !file.tryLock(lockTimeout, &reason)) {
        *error = QStringLiteral("the record of loaded jobs is busy");
        return false;
    }
    // Every writer holds the lock, so a temporary seen now is one a killed writer left.
    removeTemporaries();
    return true;
}

bool StateFileBackend::load(const QString &label, const QString &path, QString *error) {
    // Every privileged helper keeps the machine's jobs in the one record; without the lock
    // two of them would each write back what they read, and one change would be lost.
    FileLock file(m_stateFile + QStringLiteral(".lock"));
    if (!lock(file, error))
        return false;
    PlistDict state = read();
    PlistArray kept;
    // Loading a label again replaces its earlier job, as a reload would.
    for (const Entry &entry : entries(state)) {
        if (entry.label != label)
            kept.append(entryDict(entry.label, entry.path));
    }
    kept.append(entryDict(label, path));
    state.insert(loadedKey, kept);
    record(state, QStringLiteral("load"), label, path);
    return write(state, error);
}

bool StateFileBackend::unload(const std::optional<QString> &label,
                              const std::optional<QString> &path, QString *error) {
    FileLock file(m_stateFile + QStringLiteral(".lock"));
    if (!lock(file, error))
        return false;
    PlistDict state = read();
    PlistArray kept;
    for (const Entry &entry : entries(state)) {
        const bool matches =
            (label && !label->isEmpty() && entry.label == *label) || (path && entry.path == *path);
        if (!matches)
            kept.append(entryDict(entry.label, entry.path));
    }
    state.insert(loadedKey, kept);
    record(state, QStringLiteral("unload"), label.value_or(QString()), path.value_or(QString()));
    return write(state, error);
}

bool StateFileBackend::isLoaded(const QString &label) const {
    return pathOf(label).has_value();
}

std::optional<QString> StateFileBackend::pathOf(const QString &label) const {
    for (const Entry &entry : loaded()) {
        if (entry.label == label)
            return entry.path;
    }
    return std::nullopt;
}

bool StateFileBackend::start(const QString &label, QString *error) {
    *error = isLoaded(label)
                 ? QStringLiteral("%1 cannot be started: no service manager runs jobs on this "
                                  "machine, it is only recorded as loaded; a test run runs it once")
                       .arg(label)
                 : QStringLiteral("%1 is not loaded").arg(label);
    return false;
}

bool StateFileBackend::stop(const QString &label, QString *error) {
    // Nothing runs the recorded jobs, so there is nothing to stop.
    Q_UNUSED(label)
    Q_UNUSED(error)
    return true;
}

QStringList StateFileBackend::loadedLabels() const {
    QStringList labels;
    for (const Entry &entry : loaded())
        labels.append(entry.label);
    return labels;
}

std::optional<JobStatus> StateFileBackend::status(const QString &label) const {
    if (!isLoaded(label))
        return std::nullopt;
    JobStatus status;
    status.isLoaded = true;
    return status;
}

} // namespace Vandra

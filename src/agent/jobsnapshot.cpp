#include "agent/jobsnapshot.h"

#include "model/jobreader.h"
#include "platform/plistcodec.h"
#include "support/const.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Vandra {

namespace {

const QString jobsKey = QStringLiteral("jobs");
const QString labelKey = QStringLiteral("label");
const QString kindKey = QStringLiteral("kind");
const QString digestKey = QStringLiteral("digest");
const QString enabledKey = QStringLiteral("enabled");

bool isStartupItem(Kind kind) {
    return kind == Kind::localStartupItem || kind == Kind::systemStartupItem;
}

// A startup item is its parameters and its script, in the item's folder.
QStringList filesOf(const QString &path, Kind kind) {
    if (!isStartupItem(kind))
        return {path};
    return {path + u'/' + Const::FileName::startupParameters,
            path + u'/' + QFileInfo(path).fileName()};
}

QByteArray digestOf(const QStringList &files) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString &file : files) {
        QFile in(file);
        if (in.open(QIODevice::ReadOnly))
            hash.addData(&in);
        // A separator, so that bytes moving from one file to the next still count.
        hash.addData(QByteArrayView("\0", 1));
    }
    return hash.result();
}

void scanFolder(Kind kind, const QString &folder, QMap<QString, SnapshotEntry> &entries) {
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    QList<JobPtr> jobs;
    const ReadOptions options = ReadOptions::fromSettings();
    for (const QString &name : names) {
        if (name != Const::FileName::dsStore)
            JobReader::readJobFile(kind, dir.filePath(name), jobs, options);
    }
    for (const JobPtr &job : std::as_const(jobs)) {
        if (!job->url)
            continue;
        entries.insert(*job->url,
                       SnapshotEntry{job->label, kind, digestOf(filesOf(*job->url, kind)),
                                     job->enabledState().value_or(true)});
    }
}

// What became of a job that stayed, or none when nothing that matters changed.
std::optional<JobChange::Type> changeBetween(const SnapshotEntry &older,
                                             const SnapshotEntry &newer) {
    if (older.isEnabled != newer.isEnabled)
        return newer.isEnabled ? JobChange::Type::enabled : JobChange::Type::disabled;
    if (older.digest != newer.digest || older.label != newer.label)
        return JobChange::Type::changed;
    return std::nullopt;
}

JobChange change(JobChange::Type type, const QString &path, const SnapshotEntry &entry) {
    return JobChange{type, entry.label, entry.kind, path};
}

} // namespace

JobSnapshot JobSnapshot::scan(const JobSnapshot &previous) {
    JobSnapshot snapshot;
    for (const Kind kind : Kinds::folderKinds()) {
        const std::optional<QString> folder = Kinds::url(kind);
        if (!folder)
            continue;
        const QFileInfo info(*folder);
        if (info.isDir() && !(info.isReadable() && info.isExecutable())) {
            for (auto it = previous.m_entries.cbegin(); it != previous.m_entries.cend(); ++it) {
                if (it->kind == kind)
                    snapshot.m_entries.insert(it.key(), it.value());
            }
            continue;
        }
        scanFolder(kind, *folder, snapshot.m_entries);
    }
    return snapshot;
}

std::optional<JobSnapshot> JobSnapshot::read(const QString &file) {
    const PlistReadResult result = PlistCodec::readFile(file);
    const PlistDict *root = result.value ? result.value->dict() : nullptr;
    const PlistValue *jobs = root ? root->find(jobsKey) : nullptr;
    if (!jobs || !jobs->dict())
        return std::nullopt;
    JobSnapshot snapshot;
    for (const auto &[path, value] : *jobs->dict()) {
        const PlistDict *dict = value.dict();
        if (!dict)
            continue;
        const std::optional<Kind> kind =
            Kinds::fromName(dict->value(kindKey).toString().value_or(QString()));
        const std::optional<QString> label = dict->value(labelKey).toString();
        if (!kind || !label)
            continue;
        snapshot.m_entries.insert(
            path,
            SnapshotEntry{*label, *kind, dict->value(digestKey).toData().value_or(QByteArray()),
                          dict->value(enabledKey).toBool().value_or(true)});
    }
    return snapshot;
}

bool JobSnapshot::write(const QString &file) const {
    PlistDict jobs;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        jobs.insert(it.key(), PlistDict{{labelKey, PlistValue(it->label)},
                                        {kindKey, PlistValue(Kinds::name(it->kind))},
                                        {digestKey, PlistValue(it->digest)},
                                        {enabledKey, PlistValue(it->isEnabled)}});
    }
    // The binary form carries any label and path, control characters included.
    const std::optional<QByteArray> bytes =
        PlistCodec::toBinary(PlistValue(PlistDict{{jobsKey, PlistValue(jobs)}}));
    if (!bytes || !QDir().mkpath(QFileInfo(file).path()))
        return false;
    return PlistCodec::writeFileAtomically(file, *bytes);
}

QList<JobChange> JobSnapshot::changesSince(const JobSnapshot &older) const {
    QList<JobChange> changes;
    QMap<QString, SnapshotEntry> removed;
    for (auto it = older.m_entries.cbegin(); it != older.m_entries.cend(); ++it) {
        if (!m_entries.contains(it.key()))
            removed.insert(it.key(), it.value());
    }
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (const auto was = older.m_entries.constFind(it.key()); was != older.m_entries.cend()) {
            if (const std::optional<JobChange::Type> type = changeBetween(*was, *it))
                changes.append(change(*type, it.key(), *it));
            continue;
        }
        // A file renamed with its job in it: the same label of the same kind went elsewhere.
        const auto moved =
            std::find_if(removed.cbegin(), removed.cend(), [&](const SnapshotEntry &entry) {
                return entry.label == it->label && entry.kind == it->kind;
            });
        if (moved == removed.cend()) {
            changes.append(change(JobChange::Type::added, it.key(), *it));
            continue;
        }
        if (const std::optional<JobChange::Type> type = changeBetween(*moved, *it))
            changes.append(change(*type, it.key(), *it));
        removed.remove(moved.key());
    }
    for (auto it = removed.cbegin(); it != removed.cend(); ++it)
        changes.append(change(JobChange::Type::removed, it.key(), *it));
    std::stable_sort(changes.begin(), changes.end(), [](const JobChange &a, const JobChange &b) {
        return a.label.compare(b.label, Qt::CaseInsensitive) < 0;
    });
    return changes;
}

QStringList JobSnapshot::contentFiles() const {
    QStringList files;
    files.reserve(m_entries.size());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        files.append(filesOf(it.key(), it->kind));
    return files;
}

} // namespace Vandra

#pragma once

#include "agent/jobchange.h"
#include "model/kind.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// What the agent knows of one job: enough to tell that it was added, changed, removed,
// enabled or disabled since the last look.
struct SnapshotEntry {
    QString label;
    Kind kind = Kind::userAgent;
    // A digest of the job's file, so that any edit counts.
    QByteArray digest;
    bool isEnabled = true;

    friend bool operator==(const SnapshotEntry &, const SnapshotEntry &) = default;
};

// The jobs of the job folders at one moment, by file. Kept on disk between runs of the
// agent, so that it can tell what changed while it was not running.
class JobSnapshot final {
public:
    JobSnapshot() = default;

    // Reads every job of the folder-backed kinds. A folder that is there but cannot be
    // listed keeps the jobs previous had in it, so that losing the right to read it does
    // not look like every job in it was removed.
    [[nodiscard]] static JobSnapshot scan(const JobSnapshot &previous = JobSnapshot());
    // None when the file is missing or not a snapshot.
    [[nodiscard]] static std::optional<JobSnapshot> read(const QString &file);
    bool write(const QString &file) const;

    // The changes that lead from older to this snapshot, ordered by label. A job whose file
    // was renamed counts once: as changed when its content differs, else not at all.
    [[nodiscard]] QList<JobChange> changesSince(const JobSnapshot &older) const;

    [[nodiscard]] const QMap<QString, SnapshotEntry> &entries() const { return m_entries; }
    void insert(const QString &path, const SnapshotEntry &entry) { m_entries.insert(path, entry); }
    // The files whose content makes each job: the job files and the startup items'
    // parameter files. Watching them catches writes that leave a folder's entries alone.
    [[nodiscard]] QStringList contentFiles() const;

    friend bool operator==(const JobSnapshot &, const JobSnapshot &) = default;

private:
    QMap<QString, SnapshotEntry> m_entries;
};

} // namespace Vandra

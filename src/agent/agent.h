#pragma once

#include "agent/agentexceptions.h"
#include "agent/jobchange.h"
#include "agent/jobsnapshot.h"
#include "support/folderwatcher.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>

namespace Vandra {

class DesktopNotifications;
class SingleFolderMonitor;

// Watches the job folders and tells the user about every job added, changed, removed,
// enabled or disabled, except the jobs the exceptions file leaves out. What it saw last is
// kept on disk, so that the next start reports what changed in between. It never writes a
// job file.
class Agent final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Agent)

public:
    explicit Agent(DesktopNotifications &notifications, QObject *parent = nullptr);
    ~Agent() override;

    // Where the last look at the folders is kept.
    [[nodiscard]] static QString snapshotFile();

    // Looks at the folders, reports what changed since the last run (none on a first run),
    // and starts watching.
    void start();

private:
    void folderChanged();
    void look();
    void remember(const JobSnapshot &snapshot);
    void report(const QList<JobChange> &changes);

    DesktopNotifications &m_notifications;
    AgentExceptions m_exceptions;
    JobSnapshot m_snapshot;
    // The launchd folders, through one watch (see FolderWatcher).
    FolderWatcher m_folderWatcher;
    QList<SingleFolderMonitor *> m_monitors;
    // The job files themselves, for writes in place that leave the folder's entries alone.
    QFileSystemWatcher m_contentWatcher;
};

} // namespace Vandra

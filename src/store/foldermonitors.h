#pragma once

#include "support/folderwatcher.h"

#include <QList>
#include <QObject>

namespace Vandra {

class FoldersController;
class SingleFolderMonitor;

// Watches the folder of every folder-backed kind, whatever showSystemJobs says, and the
// user's extra folders (a job file linked from one changes there, not in the launchd folder),
// and rebuilds the job list after a change: at most once per second, a tenth of a second after
// the change gets through. The extra folders are followed as they are added and removed.
class FolderMonitors final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderMonitors)

public:
    explicit FolderMonitors(const FoldersController &folders, QObject *parent = nullptr);
    ~FolderMonitors() override;

    // Makes the monitors once; later calls keep them.
    void start();
    [[nodiscard]] const QList<SingleFolderMonitor *> &monitors() const { return m_monitors; }
    [[nodiscard]] const QList<SingleFolderMonitor *> &extraMonitors() const {
        return m_extraMonitors;
    }

    // While the program terminates, changes are ignored.
    void setTerminating(bool terminating) { m_isTerminating = terminating; }

    // A monitor reported a change.
    void folderChanged();

Q_SIGNALS:
    // Right before the rebuild a change led to.
    void reloading();

private:
    // One monitor per extra folder of the folders controller, kept in step with it.
    void followExtraFolders();

    const FoldersController &m_folders;
    // One watch for every folder: see FolderWatcher.
    FolderWatcher m_watcher;
    QList<SingleFolderMonitor *> m_monitors;
    QList<SingleFolderMonitor *> m_extraMonitors;
    bool m_isTerminating = false;
};

} // namespace Vandra

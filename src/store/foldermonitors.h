#pragma once

#include <QList>
#include <QObject>

class SingleFolderMonitor;

// Watches the folder of every folder-backed kind, whatever showSystemJobs says, and
// rebuilds the job list after a change: at most once per second, a tenth of a second after
// the change gets through.
class FolderMonitors final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderMonitors)

public:
    explicit FolderMonitors(QObject *parent = nullptr);
    ~FolderMonitors() override;

    // Makes the monitors once; later calls keep them.
    void start();
    [[nodiscard]] const QList<SingleFolderMonitor *> &monitors() const { return m_monitors; }

    // While the program terminates, changes are ignored.
    void setTerminating(bool terminating) { m_isTerminating = terminating; }

    // A monitor reported a change.
    void folderChanged();

Q_SIGNALS:
    // Right before the rebuild a change led to.
    void reloading();

private:
    QList<SingleFolderMonitor *> m_monitors;
    bool m_isTerminating = false;
};

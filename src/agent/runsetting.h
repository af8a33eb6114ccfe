#pragma once

#include <QFileSystemWatcher>
#include <QObject>

namespace Vandra {

class SingleFolderMonitor;

// Follows the runAgent setting, so that the agent ends as soon as the user switches it off
// in Vandra's preferences rather than at the end of the session.
class RunSetting final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RunSetting)

public:
    explicit RunSetting(QObject *parent = nullptr);

Q_SIGNALS:
    void switchedOff();

private:
    void check();
    void watchFile();

    // The settings are saved by a rename, which only the folder sees.
    SingleFolderMonitor *m_folderMonitor;
    QFileSystemWatcher m_fileWatcher;
};

} // namespace Vandra

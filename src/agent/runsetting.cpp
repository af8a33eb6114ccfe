#include "agent/runsetting.h"

#include "support/defaults.h"
#include "support/locations.h"
#include "support/singlefoldermonitor.h"

#include <QFileInfo>

namespace Vandra {

RunSetting::RunSetting(QObject *parent)
    : QObject(parent)
    , m_folderMonitor(
          new SingleFolderMonitor(QFileInfo(Locations::shared().settingsFile()).path(), this))
    , m_fileWatcher(this) {
    connect(m_folderMonitor, &SingleFolderMonitor::changed, this, &RunSetting::check);
    connect(&m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &RunSetting::check);
    watchFile();
}

void RunSetting::check() {
    watchFile();
    // The agent writes no setting, so reading the file again loses nothing.
    Defaults::shared().reload();
    if (!Defaults::shared().runAgent())
        Q_EMIT switchedOff();
}

void RunSetting::watchFile() {
    const QString file = Locations::shared().settingsFile();
    if (!m_fileWatcher.files().isEmpty())
        m_fileWatcher.removePaths(m_fileWatcher.files());
    if (QFileInfo::exists(file))
        m_fileWatcher.addPath(file);
}

} // namespace Vandra

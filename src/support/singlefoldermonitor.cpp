#include "support/singlefoldermonitor.h"

#include "support/folderwatcher.h"

#include <QDir>
#include <QFileInfo>

namespace Vandra {

namespace {

QString nearestExistingFolder(const QString &path) {
    QString candidate = path;
    while (!QFileInfo(candidate).isDir()) {
        const QString parent = QFileInfo(candidate).path();
        if (parent == candidate)
            return {};
        candidate = parent;
    }
    return candidate;
}

} // namespace

SingleFolderMonitor::SingleFolderMonitor(const QString &folderPath, QObject *parent)
    : SingleFolderMonitor(folderPath, *new FolderWatcher, parent) {
    m_ownWatcher.reset(&m_watcher);
}

SingleFolderMonitor::SingleFolderMonitor(const QString &folderPath, FolderWatcher &watcher,
                                         QObject *parent)
    : QObject(parent)
    , m_watcher(watcher)
    , m_path(QDir::cleanPath(QFileInfo(folderPath).absoluteFilePath())) {
    connect(&m_watcher, &FolderWatcher::directoryChanged, this,
            &SingleFolderMonitor::directoryChanged);
    update();
}

SingleFolderMonitor::~SingleFolderMonitor() {
    if (!m_watched.isEmpty())
        m_watcher.unwatch(m_watched);
}

void SingleFolderMonitor::directoryChanged(const QString &changedPath) {
    // A shared watcher reports every monitor's folders.
    if (changedPath != m_watched)
        return;
    const bool isOwnFolder = changedPath == m_path;
    // Entries made before the watch reached a new folder count as a change too.
    if (update() || isOwnFolder)
        Q_EMIT changed();
}

// Moves the watch to the folder itself or, while it is missing, to its nearest ancestor.
// True when the folder appeared or went away.
bool SingleFolderMonitor::update() {
    const QString target = nearestExistingFolder(m_path);
    const bool wasWatchingFolder = m_watched == m_path;
    if (target != m_watched || !m_watcher.isWatching(target)) {
        if (!m_watched.isEmpty())
            m_watcher.unwatch(m_watched);
        m_watched = target;
        if (!target.isEmpty())
            m_watcher.watch(target);
    }
    return (m_watched == m_path) != wasWatchingFolder;
}

} // namespace Vandra

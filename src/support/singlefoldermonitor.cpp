#include "support/singlefoldermonitor.h"

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
    : QObject(parent)
    , m_path(QDir::cleanPath(QFileInfo(folderPath).absoluteFilePath()))
    , m_watcher(this) {
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this](const QString &changedPath) {
                const bool isOwnFolder = changedPath == m_path && m_watched == m_path;
                // Entries made before the watch reached a new folder count as a change too.
                if (update() || isOwnFolder)
                    Q_EMIT changed();
            });
    update();
}

// Moves the watch to the folder itself or, while it is missing, to its nearest ancestor.
// True when the folder appeared or went away.
bool SingleFolderMonitor::update() {
    const QString target = nearestExistingFolder(m_path);
    const bool wasWatchingFolder = m_watched == m_path;
    if (target != m_watched || !m_watcher.directories().contains(target)) {
        if (!m_watched.isEmpty() && m_watcher.directories().contains(m_watched))
            m_watcher.removePath(m_watched);
        m_watched = target;
        if (!target.isEmpty())
            m_watcher.addPath(target);
    }
    return (m_watched == m_path) != wasWatchingFolder;
}

} // namespace Vandra

#include "support/folderwatcher.h"

namespace Vandra {

FolderWatcher::FolderWatcher(QObject *parent)
    : QObject(parent) {
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &FolderWatcher::directoryChanged);
}

void FolderWatcher::watch(const QString &path) {
    ++m_users[path];
    if (!isWatching(path))
        m_watcher.addPath(path);
}

void FolderWatcher::unwatch(const QString &path) {
    const auto found = m_users.find(path);
    if (found == m_users.end())
        return;
    if (--*found > 0)
        return;
    m_users.erase(found);
    if (isWatching(path))
        m_watcher.removePath(path);
}

bool FolderWatcher::isWatching(const QString &path) const {
    return m_watcher.directories().contains(path);
}

} // namespace Vandra

#pragma once

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QString>

namespace Vandra {

// One watch on the file system for many folder monitors. Each QFileSystemWatcher is an
// inotify instance of its own, and the kernel takes up to tens of milliseconds to close
// one: a program that watched each folder on its own paid that for every folder on its way
// out, and used up the user's small allowance of instances. Folders are counted, so that two
// monitors may watch the same ancestor of missing folders.
class FolderWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderWatcher)

public:
    explicit FolderWatcher(QObject *parent = nullptr);

    // One more user of the watch on path; it is made if it does not exist.
    void watch(const QString &path);
    // One user fewer; the watch goes with the last.
    void unwatch(const QString &path);
    // False once the kernel dropped the watch, as it does when the folder is removed.
    [[nodiscard]] bool isWatching(const QString &path) const;

Q_SIGNALS:
    void directoryChanged(const QString &path);

private:
    QFileSystemWatcher m_watcher;
    QHash<QString, int> m_users;
};

} // namespace Vandra

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace Vandra {

// Watches one folder and tells when its entries change. A folder that does not exist yet
// (or is removed) is watched through its nearest existing ancestor and picked up again
// when it appears.
class SingleFolderMonitor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleFolderMonitor)

public:
    explicit SingleFolderMonitor(const QString &folderPath, QObject *parent = nullptr);

    [[nodiscard]] QString path() const { return m_path; }

Q_SIGNALS:
    // An entry was added, removed or renamed, or the folder itself appeared or went away.
    void changed();

private:
    bool update();

    QString m_path;
    QString m_watched;
    QFileSystemWatcher m_watcher;
};

} // namespace Vandra

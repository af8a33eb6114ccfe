#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace Vandra {

class FolderWatcher;

// Watches one folder and tells when its entries change. A folder that does not exist yet
// (or is removed) is watched through its nearest existing ancestor and picked up again
// when it appears.
class SingleFolderMonitor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleFolderMonitor)

public:
    // With a watch of its own.
    explicit SingleFolderMonitor(const QString &folderPath, QObject *parent = nullptr);
    // Through watcher, shared with other monitors; it must outlive this monitor.
    SingleFolderMonitor(const QString &folderPath, FolderWatcher &watcher,
                        QObject *parent = nullptr);
    ~SingleFolderMonitor() override;

    [[nodiscard]] QString path() const { return m_path; }

Q_SIGNALS:
    // An entry was added, removed or renamed, or the folder itself appeared or went away.
    void changed();

private:
    void directoryChanged(const QString &changedPath);
    bool update();

    std::unique_ptr<FolderWatcher> m_ownWatcher;
    FolderWatcher &m_watcher;
    QString m_path;
    QString m_watched;
};

} // namespace Vandra

#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>

namespace Vandra {

class SingleFolderMonitor;

// The jobs the user left out of the notifications: the labels and label prefixes of the
// exceptions file, read again whenever the file changes.
class AgentExceptions final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AgentExceptions)

public:
    explicit AgentExceptions(const QString &file, QObject *parent = nullptr);

    [[nodiscard]] bool isExcepted(const QString &label) const;
    [[nodiscard]] const QStringList &labels() const { return m_labels; }
    [[nodiscard]] const QStringList &prefixes() const { return m_prefixes; }

    // Reads the file: without it nothing is left out; a file that cannot be read leaves
    // the lists as they were, since it is most likely being replaced.
    void reload();

private:
    void watchFile();

    QString m_file;
    QStringList m_labels;
    QStringList m_prefixes;
    // The folder sees the file replaced by a rename; the file watch sees a write in place.
    SingleFolderMonitor *m_folderMonitor = nullptr;
    QFileSystemWatcher m_fileWatcher;
};

} // namespace Vandra

#pragma once

#include "store/folder.h"

#include <QList>
#include <QObject>

#include <optional>

// The user's extra folders, in the order added, kept in the setting "folders" as their
// bookmarks.
class FoldersController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FoldersController)

public:
    static FoldersController &shared();

    [[nodiscard]] const QList<Folder> &folders() const { return m_folders; }

    // Restores the folders from the setting; those that no longer resolve, or have no icon,
    // are dropped and leave the setting too.
    void load();
    void save();
    // Adds the folder unless it is listed already; one without an icon is not added, but
    // the setting is written all the same.
    void add(const QString &folderPath);
    // Removes the folder at index, if there is one, and saves.
    void removeAt(qsizetype index);

    // The icon of a folder, or none when there is no folder at path.
    [[nodiscard]] static std::optional<QString> iconForPath(const QString &path);

    // Forgets the folders, as in a new process; for tests.
    void reset();

Q_SIGNALS:
    void foldersChanged();

private:
    FoldersController() = default;

    QList<Folder> m_folders;
};

#pragma once

#include "store/folder.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace Vandra {

// The user's extra folders, in the order added, kept in the setting "folders" as their
// bookmarks.
class FoldersController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FoldersController)

public:
    FoldersController() = default;

    [[nodiscard]] const QList<Folder> &folders() const { return m_folders; }

    // The icon of a folder that is not there any more.
    static inline const QString missingIcon = QStringLiteral("folder-missing");

    // Restores the folders from the setting. A stored folder that is gone stays listed, and
    // stored, with the missing icon; data that names no folder at all is dropped.
    void load();
    void save();
    // Adds the folder unless it is listed already; one without an icon is not added, but
    // the setting is written all the same.
    void add(const QString &folderPath);
    // Removes the folder at index, if there is one, and saves.
    void removeAt(qsizetype index);

    // Whether a listed folder is gone now, whenever it went.
    [[nodiscard]] static bool isMissing(const Folder &folder);
    // The icon of a folder, or none when there is no folder at path.
    [[nodiscard]] static std::optional<QString> iconForPath(const QString &path);

    // Forgets the folders, as in a new process; for tests.
    void reset();

Q_SIGNALS:
    void foldersChanged();

private:
    // The absolute path that bookmark data names when that folder is gone; none otherwise.
    [[nodiscard]] static std::optional<QString> missingFolderPath(const QByteArray &bookmark);

    QList<Folder> m_folders;
};

} // namespace Vandra

#pragma once

#include "platform/confineddir.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Vandra {

// Which files a helper may touch. Every path of a request is resolved first (links followed,
// ".." refused, a path that cannot be resolved or is longer than PATH_MAX refused) and must
// then lie inside one of the folders the helper serves. The check is by name; the file is
// then reached through place(), by descriptor from the served folder down, so that what a
// user swaps in after the check cannot send the operation elsewhere.
class PathPolicy final {
public:
    struct Folders {
        // Job files may be written, read, loaded and removed here.
        QStringList served;
        // Job files may only be removed here (never through a link in the folder's path).
        QStringList deleteOnly;
        // Job files may only be loaded and unloaded here.
        QStringList loadOnly;
        // The one folder of temporary test jobs and their output.
        QString testJobs;
    };
    // Asked on every check, so that folders added while the helper runs count.
    using FolderSource = std::function<Folders()>;

    struct Resolved {
        std::optional<QString> path;
        QString refusal; // why, when there is no path
        QString folder;  // the served folder, resolved, that holds path

        [[nodiscard]] bool ok() const { return path.has_value(); }
    };
    // Where a resolved path is: its folder, opened without links from the served folder
    // down, and its name there.
    struct Place {
        ConfinedDir folder;
        QString name;
    };

    // The served and load-only folders are resolved once, here or when first seen, and
    // taken by that name from then on. The delete-only folders and the test jobs folder
    // belong to someone the helper trusts less and are taken as named: a link anywhere in
    // them refuses them.
    explicit PathPolicy(FolderSource source);

    // A job file to write or read: links are followed to the file they lead to.
    [[nodiscard]] Resolved jobFile(const QString &path) const;
    // A job file to load or unload: as jobFile, also in the load-only folders.
    [[nodiscard]] Resolved loadableFile(const QString &path) const;
    // A job file to remove: a link is removed itself, not what it leads to.
    [[nodiscard]] Resolved removableFile(const QString &path) const;
    // A test job or its output, directly inside the test jobs folder and not a link.
    [[nodiscard]] Resolved testFile(const QString &path) const;
    [[nodiscard]] bool isInTestFolder(const QString &path) const;
    [[nodiscard]] Folders folders() const { return m_source(); }

    // The place of a path that one of the checks above accepted; none, with a message, when
    // a folder on the way is no longer a folder reached without links.
    [[nodiscard]] static std::optional<Place> place(const Resolved &resolved, QString *error);

    // path's own folder resolved, with its name kept; a refusal for relative paths and
    // paths with "." or ".." components.
    [[nodiscard]] static Resolved resolveFolderOf(const QString &path);
    // Whether path lies strictly inside folder (both resolved).
    [[nodiscard]] static bool isInside(const QString &path, const QString &folder);
    // path with every link resolved; none when that cannot be done for any reason.
    [[nodiscard]] static std::optional<QString> realPath(const QString &path);

private:
    [[nodiscard]] static Resolved followed(const QString &path);
    // folders are resolved already.
    [[nodiscard]] static Resolved confine(const Resolved &resolved, const QStringList &folders,
                                          const QString &original);
    [[nodiscard]] QString trusted(const QString &folder) const;
    [[nodiscard]] QStringList trusted(const QStringList &folders) const;
    [[nodiscard]] static QString literal(const QString &folder);

    FolderSource m_source;
    // Each served folder as first resolved, by its name in the settings.
    mutable QHash<QString, QString> m_resolved;
};

} // namespace Vandra

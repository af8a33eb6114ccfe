#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Which files a helper may touch. Every path of a request is resolved first (links followed,
// ".." refused) and must then lie inside one of the folders the helper serves.
class PathPolicy final {
public:
    struct Folders {
        // Job files may be written, read, loaded and removed here.
        QStringList served;
        // Job files may only be removed here.
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

        [[nodiscard]] bool ok() const { return path.has_value(); }
    };

    explicit PathPolicy(FolderSource source)
        : m_source(std::move(source)) {}

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

    // path's own folder resolved, with its name kept; a refusal for relative paths and
    // paths with "." or ".." components.
    [[nodiscard]] static Resolved resolveFolderOf(const QString &path);
    // Whether path lies strictly inside folder (both resolved).
    [[nodiscard]] static bool isInside(const QString &path, const QString &folder);

private:
    [[nodiscard]] static Resolved followed(const QString &path);
    [[nodiscard]] Resolved confine(const Resolved &resolved, const QStringList &folders,
                                   const QString &original) const;

    FolderSource m_source;
};

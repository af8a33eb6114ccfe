#include "pathpolicy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace Vandra {

namespace {

PathPolicy::Resolved refuse(const QString &why) {
    return {std::nullopt, why, {}};
}

QString canonicalFolder(const QString &folder) {
    return folder.isEmpty() ? QString() : PathPolicy::realPath(folder).value_or(QString());
}

bool isLinkOrPresent(const QString &path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

bool isFolder(const QString &path, bool followLink) {
    struct stat info {};
    const QByteArray encoded = QFile::encodeName(path);
    return (followLink ? ::stat(encoded.constData(), &info)
                       : ::lstat(encoded.constData(), &info)) == 0 &&
           S_ISDIR(info.st_mode);
}

} // namespace

std::optional<QString> PathPolicy::realPath(const QString &path) {
    // Not QFileInfo::canonicalFilePath(), which hands back the path unresolved when the
    // resolved one would be too long.
    char resolved[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), resolved))
        return std::nullopt;
    return QFile::decodeName(resolved);
}

PathPolicy::Resolved PathPolicy::resolveFolderOf(const QString &path) {
    // Before anything else: longer paths are cut or wrapped by some of what follows.
    if (QFile::encodeName(path).size() >= PATH_MAX)
        return refuse(QStringLiteral("the path is longer than %1 bytes").arg(PATH_MAX));
    if (path.isEmpty() || !path.startsWith(u'/'))
        return refuse(QStringLiteral("not an absolute path"));
    if (path.contains(QChar(0)))
        return refuse(QStringLiteral("a NUL character in the path"));
    const QStringList components = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString &component : components) {
        if (component == u".." || component == u".")
            return refuse(QStringLiteral("a \".\" or \"..\" component in the path"));
    }
    if (components.isEmpty())
        return refuse(QStringLiteral("not a file"));
    const QString folder = canonicalFolder(QFileInfo(path).absolutePath());
    if (folder.isEmpty())
        return refuse(QStringLiteral("its folder does not exist or cannot be resolved"));
    const QString resolved = folder + u'/' + components.constLast();
    if (QFile::encodeName(resolved).size() >= PATH_MAX)
        return refuse(QStringLiteral("the resolved path is longer than %1 bytes").arg(PATH_MAX));
    return {resolved, {}, {}};
}

bool PathPolicy::isInside(const QString &path, const QString &folder) {
    if (folder.isEmpty())
        return false;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix) && path.size() > prefix.size();
}

PathPolicy::PathPolicy(FolderSource source)
    : m_source(std::move(source)) {
    // Resolved now, before any client can have swapped one of them for a link.
    const Folders folders = m_source();
    for (const QString &folder : folders.served + folders.loadOnly)
        static_cast<void>(trusted(folder));
}

QString PathPolicy::trusted(const QString &folder) const {
    if (const auto it = m_resolved.constFind(folder); it != m_resolved.cend())
        return *it;
    const QString resolved = canonicalFolder(folder);
    if (!resolved.isEmpty())
        m_resolved.insert(folder, resolved);
    return resolved;
}

QString PathPolicy::literal(const QString &folder) {
    return folder.startsWith(u'/') ? QDir::cleanPath(folder) : QString();
}

QStringList PathPolicy::trusted(const QStringList &folders) const {
    QStringList resolved;
    for (const QString &folder : folders)
        resolved.append(trusted(folder));
    return resolved;
}

PathPolicy::Resolved PathPolicy::confine(const Resolved &resolved, const QStringList &folders,
                                         const QString &original) {
    if (!resolved.ok())
        return resolved;
    for (const QString &folder : folders) {
        if (isInside(*resolved.path, folder))
            return {resolved.path, {}, folder};
    }
    if (*resolved.path != original)
        return refuse(
            QStringLiteral("it leads to %1, outside the served folders").arg(*resolved.path));
    return refuse(QStringLiteral("outside the served folders"));
}

PathPolicy::Resolved PathPolicy::followed(const QString &path) {
    Resolved resolved = resolveFolderOf(path);
    if (!resolved.ok())
        return resolved;
    if (isLinkOrPresent(*resolved.path)) {
        const auto target = realPath(*resolved.path);
        if (!target)
            return refuse(QStringLiteral("a link that leads nowhere or cannot be resolved"));
        resolved.path = *target;
        if (isFolder(*target, true))
            return refuse(QStringLiteral("a folder, not a file"));
    }
    return resolved;
}

PathPolicy::Resolved PathPolicy::jobFile(const QString &path) const {
    return confine(followed(path), trusted(m_source().served), path);
}

PathPolicy::Resolved PathPolicy::loadableFile(const QString &path) const {
    const Folders folders = m_source();
    return confine(followed(path), trusted(folders.served + folders.loadOnly), path);
}

PathPolicy::Resolved PathPolicy::removableFile(const QString &path) const {
    const Resolved resolved = resolveFolderOf(path);
    if (!resolved.ok())
        return resolved;
    if (isFolder(*resolved.path, false))
        return refuse(QStringLiteral("a folder, not a file"));
    const Folders folders = m_source();
    QStringList allowed = trusted(folders.served);
    for (const QString &folder : folders.deleteOnly)
        allowed.append(literal(folder));
    return confine(resolved, allowed, path);
}

PathPolicy::Resolved PathPolicy::testFile(const QString &path) const {
    const Resolved resolved = resolveFolderOf(path);
    if (!resolved.ok())
        return resolved;
    const QString folder = literal(m_source().testJobs);
    const QFileInfo info(*resolved.path);
    if (folder.isEmpty() || info.absolutePath() != folder)
        return refuse(QStringLiteral("not in the folder of test jobs"));
    if (info.isSymLink() || info.isDir())
        return refuse(QStringLiteral("a link or a folder in the folder of test jobs"));
    return {resolved.path, {}, folder};
}

bool PathPolicy::isInTestFolder(const QString &path) const {
    return testFile(path).ok();
}

std::optional<PathPolicy::Place> PathPolicy::place(const Resolved &resolved, QString *error) {
    if (!resolved.ok() || resolved.folder.isEmpty() || !isInside(*resolved.path, resolved.folder)) {
        *error = QStringLiteral("the path was not checked");
        return std::nullopt;
    }
    const QString relative = resolved.path->mid(resolved.folder.size() + 1);
    const qsizetype slash = relative.lastIndexOf(u'/');
    std::optional<ConfinedDir> served = ConfinedDir::open(resolved.folder, error);
    if (!served)
        return std::nullopt;
    std::optional<ConfinedDir> folder =
        served->openBeneath(slash < 0 ? QString() : relative.left(slash), error);
    if (!folder)
        return std::nullopt;
    return Place{std::move(*folder), relative.mid(slash + 1)};
}

} // namespace Vandra

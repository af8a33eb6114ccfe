#include "pathpolicy.h"

#include <QFileInfo>

namespace {

PathPolicy::Resolved refuse(const QString &why) {
    return {std::nullopt, why};
}

QString canonicalFolder(const QString &folder) {
    return folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
}

} // namespace

PathPolicy::Resolved PathPolicy::resolveFolderOf(const QString &path) {
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
    const QFileInfo info(path);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return refuse(QStringLiteral("its folder does not exist"));
    return {folder + u'/' + components.constLast(), {}};
}

bool PathPolicy::isInside(const QString &path, const QString &folder) {
    if (folder.isEmpty())
        return false;
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    return path.startsWith(prefix) && path.size() > prefix.size();
}

PathPolicy::Resolved PathPolicy::confine(const Resolved &resolved, const QStringList &folders,
                                         const QString &original) const {
    if (!resolved.ok())
        return resolved;
    for (const QString &folder : folders) {
        if (isInside(*resolved.path, canonicalFolder(folder)))
            return resolved;
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
    const QFileInfo info(*resolved.path);
    if (info.isSymLink() || info.exists()) {
        const QString target = info.canonicalFilePath();
        if (target.isEmpty())
            return refuse(QStringLiteral("a link that leads nowhere"));
        resolved.path = target;
        if (QFileInfo(target).isDir())
            return refuse(QStringLiteral("a folder, not a file"));
    }
    return resolved;
}

PathPolicy::Resolved PathPolicy::jobFile(const QString &path) const {
    return confine(followed(path), m_source().served, path);
}

PathPolicy::Resolved PathPolicy::loadableFile(const QString &path) const {
    const Folders folders = m_source();
    return confine(followed(path), folders.served + folders.loadOnly, path);
}

PathPolicy::Resolved PathPolicy::removableFile(const QString &path) const {
    const Resolved resolved = resolveFolderOf(path);
    if (!resolved.ok())
        return resolved;
    const QFileInfo info(*resolved.path);
    if (info.isDir() && !info.isSymLink())
        return refuse(QStringLiteral("a folder, not a file"));
    const Folders folders = m_source();
    return confine(resolved, folders.served + folders.deleteOnly, path);
}

PathPolicy::Resolved PathPolicy::testFile(const QString &path) const {
    const Resolved resolved = resolveFolderOf(path);
    if (!resolved.ok())
        return resolved;
    const QString folder = canonicalFolder(m_source().testJobs);
    const QFileInfo info(*resolved.path);
    if (folder.isEmpty() || info.absolutePath() != folder)
        return refuse(QStringLiteral("not in the folder of test jobs"));
    if (info.isSymLink() || info.isDir())
        return refuse(QStringLiteral("a link or a folder in the folder of test jobs"));
    return resolved;
}

bool PathPolicy::isInTestFolder(const QString &path) const {
    return testFile(path).ok();
}

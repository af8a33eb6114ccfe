#include "helperplaces.h"

#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/secureurl.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

#include <sys/stat.h>

namespace HelperPlaces {

QStringList jobFolders(const QString &library) {
    return {library + u'/' + Const::PathComponent::launchAgents,
            library + u'/' + Const::PathComponent::launchDaemons,
            library + u'/' + Const::PathComponent::startupItems};
}

QStringList userServedFolders() {
    QStringList folders{userAgentsFolder(::getuid())};
    // The settings may have changed since the last request.
    Defaults::shared().reload();
    const QVariantList bookmarks = Defaults::shared().value(UserDefaultsKeys::folders).toList();
    for (const QVariant &bookmark : bookmarks) {
        if (const auto folder = SecureURL::fromBookmark(bookmark.toByteArray()))
            folders.append(folder->path());
    }
    return folders;
}

QString userAgentsFolder(uid_t uid) {
    const Locations &locations = Locations::shared();
    if (!locations.root().isEmpty() || uid == ::getuid())
        return locations.userLibrary() + u'/' + Const::PathComponent::launchAgents;
    // pkexec gives the helper root's home; the user's own folder is in the user's home.
    const passwd *entry = ::getpwuid(uid);
    if (!entry || !entry->pw_dir)
        return {};
    return QFile::decodeName(entry->pw_dir) + QStringLiteral("/.config/vandra/") +
           Const::PathComponent::launchAgents;
}

QString testJobsFolder(uid_t uid) {
    QString folder = Locations::shared().testJobsDir();
    const QString own = u'-' + QString::number(::getuid());
    if (uid != ::getuid() && folder.endsWith(own))
        folder = folder.chopped(own.size()) + u'-' + QString::number(uid);
    return folder;
}

bool makePrivateFolder(const QString &folder) {
    if (!QDir().mkpath(folder))
        return false;
    // mkpath is content with a link to a folder, and chmod would follow it.
    struct stat info {};
    if (::lstat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid())
        return false;
    return QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool isPrivateFolder(const QString &folder, uid_t uid) {
    struct stat info {};
    if (folder.isEmpty() || ::lstat(QFile::encodeName(folder).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

uid_t requestingUser() {
    bool ok = false;
    const uint uid = qEnvironmentVariable("PKEXEC_UID").toUInt(&ok);
    return ok ? uid_t(uid) : ::getuid();
}

} // namespace HelperPlaces

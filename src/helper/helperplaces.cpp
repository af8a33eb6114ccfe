#include "helperplaces.h"

#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/secureurl.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <sys/stat.h>

namespace Vandra {

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

namespace {

struct ProcessRecord {
    pid_t parent = 0;
    uid_t realUser = 0;
    bool isSetUserLauncher = false;
};

std::optional<ProcessRecord> processRecord(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    ProcessRecord record;
    bool hasUser = false;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 2 && fields.constFirst() == "PPid:")
            record.parent = pid_t(fields.at(1).toInt());
        else if (fields.size() >= 2 && fields.constFirst() == "Uid:")
            record.realUser = uid_t(fields.at(1).toUInt(&hasUser));
    }
    struct stat program {};
    const QByteArray exe = QStringLiteral("/proc/%1/exe").arg(pid).toLatin1();
    record.isSetUserLauncher = ::stat(exe.constData(), &program) == 0 &&
                               (program.st_mode & S_ISUID) && program.st_uid == 0;
    if (!hasUser)
        return std::nullopt;
    return record;
}

} // namespace

uid_t requestingUser() {
    if (::geteuid() != 0)
        return ::getuid();
    // pkexec sets this itself and lets nothing of the caller's environment through.
    bool ok = false;
    const uint uid = qEnvironmentVariable("PKEXEC_UID").toUInt(&ok);
    if (ok)
        return uid_t(uid);
    // sudo runs the helper as root: the caller is the first process up the line that is not
    // sudo itself.
    pid_t pid = ::getppid();
    for (int depth = 0; depth < 8 && pid > 1; ++depth) {
        const auto record = processRecord(pid);
        if (!record)
            break;
        if (record->realUser != 0)
            return record->realUser;
        if (!record->isSetUserLauncher)
            break;
        pid = record->parent;
    }
    return 0;
}

void scrubEnvironment() {
    if (::geteuid() != 0)
        return;
    const passwd *entry = ::getpwuid(0);
    const QByteArray home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray("/");
    ::clearenv();
    ::setenv("PATH", "/usr/sbin:/usr/bin:/sbin:/bin", 1);
    ::setenv("HOME", home.constData(), 1);
    ::setenv("LANG", "C.UTF-8", 1);
}

} // namespace HelperPlaces

} // namespace Vandra

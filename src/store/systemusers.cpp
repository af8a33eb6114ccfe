#include "store/systemusers.h"

#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <sys/stat.h>
#include <vector>

namespace Vandra {

namespace {

QList<QStringList> readColonFile(const QString &path) {
    QList<QStringList> rows;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        rows.append(QString::fromUtf8(line).split(QLatin1Char(':')));
    }
    return rows;
}

} // namespace

SystemUsers::SystemUsers() {
    const Locations &locations = Locations::shared();
    if (locations.root().isEmpty())
        return;
    struct stat info {};
    if (::stat(QFile::encodeName(locations.root()).constData(), &info) == 0)
        m_rootOwner = info.st_uid;
    if (QFileInfo::exists(locations.underRoot(QStringLiteral("/etc/passwd")))) {
        m_passwd = locations.underRoot(QStringLiteral("/etc/passwd"));
        m_group = locations.underRoot(QStringLiteral("/etc/group"));
    }
}

std::optional<UserAccount> SystemUsers::find(const QString &name) const {
    if (name.isEmpty())
        return std::nullopt;
    return m_passwd.isEmpty() ? findOnMachine(name) : findInFiles(name);
}

UserAccount SystemUsers::currentUser() const {
    UserAccount user;
    user.uid = ::getuid();
    user.gid = ::getgid();
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(size_t(std::max(count, 0)));
    if (count > 0 && ::getgroups(count, groups.data()) == count) {
        for (const gid_t gid : groups)
            user.groups.append(gid);
    }
    user.groups.append(user.gid);
    // The home as a machine path: under a root, the root's home folder.
    const Locations &locations = Locations::shared();
    user.home = locations.root().isEmpty() ? locations.home()
                                           : locations.home().mid(locations.root().size());
    return user;
}

std::optional<UserAccount> SystemUsers::findInFiles(const QString &name) const {
    for (const QStringList &row : readColonFile(m_passwd)) {
        if (row.size() < 6 || row[0] != name)
            continue;
        UserAccount user;
        user.name = name;
        user.uid = row[2].toUInt();
        user.gid = row[3].toUInt();
        user.home = row[5];
        user.groups.append(user.gid);
        for (const QStringList &group : readColonFile(m_group)) {
            if (group.size() >= 4 && group[3].split(QLatin1Char(',')).contains(name))
                user.groups.append(group[2].toUInt());
        }
        return user;
    }
    return std::nullopt;
}

std::optional<UserAccount> SystemUsers::findOnMachine(const QString &name) {
    const QByteArray encoded = name.toUtf8();
    passwd entry{};
    passwd *found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwnam_r(encoded.constData(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        !found)
        return std::nullopt;
    UserAccount user;
    user.name = name;
    user.uid = found->pw_uid;
    user.gid = found->pw_gid;
    user.home = QFile::decodeName(found->pw_dir);
    int count = 64;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    if (::getgrouplist(encoded.constData(), found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(size_t(count));
        if (::getgrouplist(encoded.constData(), found->pw_gid, groups.data(), &count) < 0)
            count = 0;
    }
    for (int i = 0; i < count; ++i)
        user.groups.append(groups[size_t(i)]);
    if (!user.groups.contains(user.gid))
        user.groups.append(user.gid);
    return user;
}

} // namespace Vandra

#include "filesystemidentity.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <sys/fsuid.h>

namespace Vandra {

FileSystemIdentity::FileSystemIdentity(uid_t uid) {
    if (::geteuid() != 0 || uid == 0) {
        m_isTaken = true;
        return;
    }
    const passwd *entry = ::getpwuid(uid);
    if (!entry) {
        m_error = QStringLiteral("there is no user %1").arg(uid);
        return;
    }
    int count = ::getgroups(0, nullptr);
    m_groups.resize(size_t(qMax(count, 0)));
    if (count < 0 || ::getgroups(count, m_groups.data()) != count) {
        m_error = QStringLiteral("cannot read the helper's groups");
        return;
    }
    std::vector<gid_t> groups(64);
    int wanted = int(groups.size());
    while (::getgrouplist(entry->pw_name, entry->pw_gid, groups.data(), &wanted) < 0)
        groups.resize(size_t(wanted));
    groups.resize(size_t(wanted));
    m_isChanged = true;
    // The file-system ids take effect at once; setfsuid answers with the previous id, so
    // the new one is read back to see that it took.
    if (::setgroups(groups.size(), groups.data()) != 0) {
        m_error = QStringLiteral("cannot take the groups of user %1").arg(uid);
        return;
    }
    ::setfsgid(entry->pw_gid);
    ::setfsuid(uid);
    if (::setfsuid(uid_t(-1)) != int(uid) || ::setfsgid(gid_t(-1)) != int(entry->pw_gid)) {
        m_error = QStringLiteral("cannot take the rights of user %1").arg(uid);
        return;
    }
    m_isTaken = true;
}

FileSystemIdentity::~FileSystemIdentity() {
    if (!m_isChanged)
        return;
    ::setfsuid(0);
    ::setfsgid(0);
    ::setgroups(m_groups.size(), m_groups.data());
}

} // namespace Vandra

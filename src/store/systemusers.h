#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// A user account as the job doctor needs it: who may run a job and where its home is.
struct UserAccount {
    QString name;
    uint uid = 0;
    uint gid = 0;
    QString home;       // a machine path, without the root
    QList<uint> groups; // every group the user is in, the primary one included
};

// The users of the machine under the locations' root: the root's own etc/passwd and
// etc/group when it has them, otherwise the real machine's accounts.
class SystemUsers final {
public:
    SystemUsers();

    [[nodiscard]] std::optional<UserAccount> find(const QString &name) const;
    // The user the program runs as, who runs the agents.
    [[nodiscard]] UserAccount currentUser() const;
    // The owner that stands for root: uid 0, or under a root the owner of the root folder,
    // as a chroot made by that user would see it.
    [[nodiscard]] uint rootOwner() const { return m_rootOwner; }

private:
    [[nodiscard]] std::optional<UserAccount> findInFiles(const QString &name) const;
    [[nodiscard]] static std::optional<UserAccount> findOnMachine(const QString &name);

    QString m_passwd;
    QString m_group;
    uint m_rootOwner = 0;
};

} // namespace Vandra

#pragma once

#include <QString>

#include <sys/types.h>
#include <vector>

namespace Vandra {

// While it lives, files are opened with another user's rights (file-system user, group and
// supplementary groups), so that a helper running as root reads only what that user could
// read. The calling thread's other rights stay as they are; a helper that is not root, or
// one acting for root, changes nothing.
class FileSystemIdentity final {
public:
    explicit FileSystemIdentity(uid_t uid);
    FileSystemIdentity(const FileSystemIdentity &) = delete;
    FileSystemIdentity &operator=(const FileSystemIdentity &) = delete;
    ~FileSystemIdentity();

    // False when the user's rights could not be taken; then nothing may be opened for them.
    [[nodiscard]] bool isTaken() const { return m_isTaken; }
    [[nodiscard]] const QString &error() const { return m_error; }

private:
    bool m_isChanged = false;
    bool m_isTaken = false;
    QString m_error;
    std::vector<gid_t> m_groups;
};

} // namespace Vandra

#pragma once

#include <QtGlobal>

#include <optional>
#include <sys/types.h>

namespace Vandra {

// Who is at the other end of a connected local socket, as the kernel reports it.
struct PeerCredentials {
    uid_t uid = 0;
    gid_t gid = 0;
    pid_t pid = 0;

    [[nodiscard]] static std::optional<PeerCredentials> of(qintptr socketDescriptor);
};

} // namespace Vandra

#include "peercredentials.h"

#include <sys/socket.h>

namespace Vandra {

std::optional<PeerCredentials> PeerCredentials::of(qintptr socketDescriptor) {
    if (socketDescriptor < 0)
        return std::nullopt;
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
        length != sizeof credentials)
        return std::nullopt;
    return PeerCredentials{credentials.uid, credentials.gid, credentials.pid};
}

} // namespace Vandra

#pragma once

#include "helper/loadbackend.h"

#include <QString>

#include <memory>

namespace Vandra {

// Chooses the load backend of a helper when it starts: the systemd backend when a systemd
// manager answers, else the record of loaded jobs in a state file. The choice is logged.
//
// The manager is the user's on the session bus for the helper service, the system's on the
// system bus for the privileged helper (only where systemd runs the machine). Under a root,
// which is a sandbox, no real manager is used; VANDRA_SYSTEMD_BUS names the bus of a
// manager to use instead, with or without a root.
namespace SystemdSelection {

[[nodiscard]] std::unique_ptr<LoadBackend> userBackend(const QString &stateFile,
                                                       const QString &testFolder);
[[nodiscard]] std::unique_ptr<LoadBackend> systemBackend(const QString &stateFile,
                                                         const QString &testFolder);

} // namespace SystemdSelection

} // namespace Vandra

#pragma once

#include "model/kind.h"
#include "platform/systemdunitgenerator.h"

#include <QStringList>

#include <optional>

namespace Vandra {

// vandractl units FILE [--kind KIND] [--root R]: the systemd units that loading the job
// would write, each as a line "# NAME" and its text; what they cannot carry goes to
// standard error, a line per key.
namespace UnitsCommand {

int run(const QStringList &arguments);
// The manager that runs jobs of a kind, or none for kinds that are no launchd jobs.
[[nodiscard]] std::optional<SystemdScope> scopeOf(Kind kind);

} // namespace UnitsCommand

} // namespace Vandra

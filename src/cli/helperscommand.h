#pragma once

#include <QStringList>

namespace Vandra {

// vandractl helpers: where the helper programs are that the desktop program would start, one
// line each ("vandra-helper: /usr/libexec/vandra/vandra-helper"); exits 1 when one is missing,
// so an installation can be checked from a script.
namespace HelpersCommand {

int run(const QStringList &arguments);

} // namespace HelpersCommand

} // namespace Vandra

#pragma once

#include <QStringList>

namespace Vandra {

// vandractl write FILE [--kind KIND] [--set FIELD=VALUE]... [--diff]: the text a save of the
// job would write after the given edits, made as the editor makes them, or with --diff what
// that save would change. Nothing is written.
namespace WriteCommand {

int run(const QStringList &arguments);

} // namespace WriteCommand

} // namespace Vandra

#pragma once

#include <QStringList>

namespace Vandra {

// vandractl show FILE [--kind KIND] [--json]: a job file read as the program reads it.
namespace ShowCommand {

int run(const QStringList &arguments);

} // namespace ShowCommand

} // namespace Vandra

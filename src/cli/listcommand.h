#pragma once

#include <QStringList>

namespace Vandra {

// vandractl list [--root R] [--system] [--json]: the jobs the program lists, in its order.
namespace ListCommand {

int run(const QStringList &arguments);

} // namespace ListCommand

} // namespace Vandra

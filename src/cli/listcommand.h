#pragma once

#include <QStringList>

// vandractl list [--root R] [--system] [--json]: the jobs the program lists, in its order.
namespace ListCommand {

int run(const QStringList &arguments);

} // namespace ListCommand

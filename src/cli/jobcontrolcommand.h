#pragma once

#include <QStringList>

namespace Vandra {

// vandractl start|stop LABEL [--root R]: starts a loaded job now, or stops it, through the
// helper that loaded it (the privileged one for machine-wide jobs). Exit status 0 when done,
// 1 when the job is unknown or the helper refused or could not be reached, 2 for a usage
// error.
namespace JobControlCommand {

int run(const QStringList &arguments, bool isStart);

} // namespace JobControlCommand

} // namespace Vandra

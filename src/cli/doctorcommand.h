#pragma once

#include <QStringList>

namespace Vandra {

// vandractl doctor [FILE | --all [--system]] [--kind KIND] [--json]: what may keep jobs from
// running as meant. Exits 0 when nothing worse than a note is found, 1 for warnings, 2 for
// errors, and 3 when the examination itself cannot be made.
namespace DoctorCommand {

// The exit status when the command cannot examine anything (bad arguments, no such file).
inline constexpr int cannotExamine = 3;

int run(const QStringList &arguments);

} // namespace DoctorCommand

} // namespace Vandra

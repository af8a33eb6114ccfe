#pragma once

#include <QString>

namespace Vandra {

// Text as systemd's unit files and unit names want it.
namespace SystemdEscape {

// A unit name's stem made from any text by systemd-escape's rules: "/" becomes "-", a
// leading "." and every byte outside [A-Za-z0-9:_.] become "\xNN".
[[nodiscard]] QString unitStem(const QString &text);

// One word of a command line (ExecStart=), quoted so that systemd hands it to the program
// unchanged: no splitting, no "%" specifiers, no "$" variables, no escapes.
[[nodiscard]] QString commandWord(const QString &word);
// The program's path at the head of a command line: quoted, specifiers kept literal. systemd
// takes it without "$" variables, and refuses one with quotes, backslashes or control
// characters (see isRunnablePath).
[[nodiscard]] QString programWord(const QString &path);
[[nodiscard]] bool isRunnablePath(const QString &path);
// A quoted "NAME=value" word for Environment=, read back unchanged.
[[nodiscard]] QString environmentWord(const QString &name, const QString &value);
// A value taken to the end of its line (paths, descriptions) with specifiers kept literal.
[[nodiscard]] QString literal(const QString &text);
// Whether text can stand on a unit file's line: no control characters, and no trailing
// backslash, which would join it with the next line.
[[nodiscard]] bool fitsOnLine(const QString &text);

} // namespace SystemdEscape

} // namespace Vandra

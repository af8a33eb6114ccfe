#pragma once

#include <QByteArrayView>
#include <QString>

namespace Vandra {

// Standard output and error of the command-line companion.
namespace CliOutput {

// The text on standard output; returns the exit code to use: 0, or 1 with a message when the
// output could not be written (a full disk, a closed pipe), so that scripts see the failure.
int print(const QString &text);
// Bytes already encoded, such as a JSON document, written in one go.
int printBytes(QByteArrayView bytes);
// One line on standard error; returns the exit code to use.
int fail(const QString &message, int exitCode = 1);

} // namespace CliOutput

} // namespace Vandra

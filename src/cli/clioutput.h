#pragma once

#include <QByteArrayView>
#include <QString>

// Standard output and error of the command-line companion.
namespace CliOutput {

void print(const QString &text);
// Bytes already encoded, such as a JSON document, written in one go.
void printBytes(QByteArrayView bytes);
// One line on standard error; returns the exit code to use.
int fail(const QString &message, int exitCode = 1);

} // namespace CliOutput

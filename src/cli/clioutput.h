#pragma once

#include <QJsonDocument>
#include <QString>

#include <optional>

// Standard output and error of the command-line companion.
namespace CliOutput {

void print(const QString &text);
void printJson(const QJsonDocument &document);
// One line on standard error; returns the exit code to use.
int fail(const QString &message, int exitCode = 1);

} // namespace CliOutput

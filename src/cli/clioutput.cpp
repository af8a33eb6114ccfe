#include "cli/clioutput.h"

#include <cstdio>

namespace CliOutput {

void print(const QString &text) {
    printBytes(text.toUtf8());
}

void printBytes(QByteArrayView bytes) {
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString &message, int exitCode) {
    const QByteArray bytes = QStringLiteral("vandractl: %1\n").arg(message).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return exitCode;
}

} // namespace CliOutput

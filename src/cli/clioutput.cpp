#include "cli/clioutput.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

namespace CliOutput {

int print(const QString &text) {
    return printBytes(text.toUtf8());
}

int printBytes(QByteArrayView bytes) {
    // An empty text may have no data at all, which fwrite must not be given.
    const size_t written =
        bytes.isEmpty() ? 0 : std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    if (std::fflush(stdout) != 0 || written != size_t(bytes.size()))
        return fail(Texts::tr("cannot write the output: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 0;
}

int fail(const QString &message, int exitCode) {
    const QByteArray bytes = QStringLiteral("vandractl: %1\n").arg(message).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return exitCode;
}

} // namespace CliOutput

} // namespace Vandra

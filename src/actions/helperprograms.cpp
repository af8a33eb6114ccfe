#include "helperprograms.h"

#include "support/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace Vandra {

namespace HelperPrograms {

std::optional<QString> find(const QString &name) {
    QStringList folders;
    const QString bin = qEnvironmentVariable("VANDRA_BIN");
    if (!bin.isEmpty())
        folders.append(bin);
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath();
        folders.append(beside);
        // An installed program keeps its helpers out of the PATH, in libexec.
        folders.append(QDir::cleanPath(beside + QStringLiteral("/../libexec/vandra")));
    }
    for (const QString &folder : std::as_const(folders)) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return onPath;
    return std::nullopt;
}

QStringList privilegedLauncher() {
    if (!qEnvironmentVariableIsSet("VANDRA_PRIVILEGED_LAUNCHER"))
        return {QStringLiteral("pkexec")};
    return QProcess::splitCommand(qEnvironmentVariable("VANDRA_PRIVILEGED_LAUNCHER"));
}

QStringList rootArguments() {
    const QString root = Locations::shared().root();
    if (root.isEmpty())
        return {};
    return {QStringLiteral("--root"), root};
}

bool startService(const QString &program, const QString &socketPath, const QStringList &arguments) {
    const QString folder = QFileInfo(socketPath).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcess process;
    process.setProgram(program);
    process.setArguments(QStringList{QStringLiteral("--socket"), socketPath} + arguments);
    // A detached helper must not hold this process's output open: whoever waits for it to
    // close (a terminal, a test runner) would wait for the helper too.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(socketPath + QStringLiteral(".log"), QIODevice::Append);
    process.setWorkingDirectory(QDir::rootPath());
    return process.startDetached();
}

} // namespace HelperPrograms

} // namespace Vandra

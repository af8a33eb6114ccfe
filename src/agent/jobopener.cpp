#include "agent/jobopener.h"

#include "support/const.h"
#include "support/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace Vandra {

namespace {

QString vandraProgram() {
    const QString name = QStringLiteral("vandra");
    QStringList folders;
    const QString bin = qEnvironmentVariable("VANDRA_BIN");
    if (!bin.isEmpty())
        folders.append(bin);
    folders.append(QCoreApplication::applicationDirPath());
    for (const QString &folder : std::as_const(folders)) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

bool startDetached(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setWorkingDirectory(QDir::rootPath());
    return process.startDetached();
}

} // namespace

namespace JobOpener {

QString url(const QString &jobPath) {
    const QByteArray encoded =
        jobPath.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    return Const::Product::jobScheme + QStringLiteral("://") + QString::fromLatin1(encoded);
}

bool open(const QString &jobPath) {
    const QString program = vandraProgram();
    if (program.isEmpty())
        return startDetached(QStringLiteral("xdg-open"), {url(jobPath)});
    QStringList arguments;
    if (const QString root = Locations::shared().root(); !root.isEmpty())
        arguments << QStringLiteral("--root") << root;
    arguments << url(jobPath);
    return startDetached(program, arguments);
}

} // namespace JobOpener

} // namespace Vandra

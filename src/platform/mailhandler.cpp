#include "platform/mailhandler.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace Vandra {

namespace {

const QByteArray mailtoKey = "x-scheme-handler/mailto";

// True when a group other than the removed associations names a program for mailto:.
bool namesHandler(const QString &file) {
    QFile list(file);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool isRemovedGroup = false;
    while (!list.atEnd()) {
        const QByteArray line = list.readLine().trimmed();
        if (line.startsWith('[')) {
            isRemovedGroup = line == "[Removed Associations]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (isRemovedGroup || equals < 0 || line.left(equals).trimmed() != mailtoKey)
            continue;
        // The value lists desktop files separated by semicolons; an empty one names none.
        QByteArray value = line.mid(equals + 1);
        value.replace(';', "");
        if (!value.trimmed().isEmpty())
            return true;
    }
    return false;
}

// The mimeapps.list files of a folder, the desktop-specific ones too.
QStringList mimeAppsLists(const QString &folder) {
    QStringList files;
    const QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral("*mimeapps.list")}, QDir::Files))
        files.append(dir.filePath(name));
    return files;
}

} // namespace

namespace MailHandler {

bool isSet() {
    return isSetIn(QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation),
                   QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

bool isSetIn(const QStringList &configFolders, const QStringList &dataFolders) {
    QStringList files;
    for (const QString &folder : configFolders)
        files.append(mimeAppsLists(folder));
    for (const QString &folder : dataFolders) {
        const QString applications = folder + QStringLiteral("/applications");
        files.append(mimeAppsLists(applications));
        files.append(applications + QStringLiteral("/defaults.list"));
        files.append(applications + QStringLiteral("/mimeinfo.cache"));
    }
    for (const QString &file : std::as_const(files)) {
        if (namesHandler(file))
            return true;
    }
    return false;
}

} // namespace MailHandler

} // namespace Vandra

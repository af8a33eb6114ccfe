#include "plistfile.h"

#include <QFile>
#include <QFileInfo>

namespace Vandra {

namespace PlistFile {

PlistReadResult read(const QString &path) {
    // Job files are far below this; anything larger goes to the codec, which explains.
    constexpr qint64 smallFile = 1024 * 1024;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > smallFile)
        return PlistCodec::readFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return PlistCodec::readFile(path);
    return PlistCodec::read(file.readAll());
}

} // namespace PlistFile

} // namespace Vandra

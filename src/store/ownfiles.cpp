#include "store/ownfiles.h"

#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

namespace Vandra {

namespace {

Q_LOGGING_CATEGORY(lcOwnFiles, "vandra.ownfiles")

// More set-aside copies than this mean something keeps breaking the file; stop renaming.
constexpr int maximumCopies = 100;

} // namespace

namespace OwnFiles {

bool isPresent(const QString &path) {
    return QFileInfo::exists(path);
}

bool setAside(const QString &path) {
    if (!isPresent(path))
        return true;
    for (int copy = 1; copy <= maximumCopies; ++copy) {
        const QString aside =
            path + QStringLiteral(".bak") + (copy == 1 ? QString() : QString::number(copy));
        // Never over an earlier copy: rename refuses a name that is taken.
        if (!isPresent(aside) && QFile::rename(path, aside))
            return true;
    }
    return false;
}

bool write(const QString &path, const QByteArray &bytes) {
    QString error;
    if (QDir().mkpath(QFileInfo(path).path()) &&
        PlistCodec::writeFileAtomically(path, bytes, &error))
        return true;
    qCWarning(lcOwnFiles).noquote()
        << "could not write" << path << (error.isEmpty() ? QStringLiteral("(no folder)") : error);
    return false;
}

std::optional<QByteArray> encode(const PlistValue &value) {
    if (std::optional<QByteArray> xml = PlistCodec::toXml(value))
        return xml;
    return PlistCodec::toBinary(value);
}

} // namespace OwnFiles

} // namespace Vandra

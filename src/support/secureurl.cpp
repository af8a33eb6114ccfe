#include "support/secureurl.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

namespace Vandra {

namespace {

QString absoluteFolderPath(const QString &path) {
    if (path.isEmpty())
        return {};
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

SecureURL::SecureURL(const QUrl &url)
    : m_path(url.isLocalFile() ? absoluteFolderPath(url.toLocalFile()) : QString()) {}

SecureURL::SecureURL(const QString &folderPath)
    : m_path(absoluteFolderPath(folderPath)) {}

std::optional<SecureURL> SecureURL::fromBookmark(const QByteArray &bookmark) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = decoder.decode(bookmark);
    if (decoder.hasError() || path.isEmpty() || !QDir::isAbsolutePath(path) ||
        path.contains(QChar(0)))
        return std::nullopt;
    if (!QFileInfo(path).isDir())
        return std::nullopt;
    return SecureURL(path);
}

std::optional<QByteArray> SecureURL::bookmark() const {
    if (m_path.isEmpty())
        return std::nullopt;
    return m_path.toUtf8();
}

} // namespace Vandra

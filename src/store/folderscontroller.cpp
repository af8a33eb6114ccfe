#include "store/folderscontroller.h"

#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QVariantList>

namespace Vandra {

void FoldersController::load() {
    m_folders.clear();
    const QVariantList bookmarks = Defaults::shared().value(UserDefaultsKeys::folders).toList();
    for (const QVariant &data : bookmarks) {
        if (const std::optional<SecureURL> secureURL =
                SecureURL::fromBookmark(data.toByteArray())) {
            if (const std::optional<QString> icon = iconForPath(secureURL->path()))
                m_folders.append({*secureURL, *icon});
        } else if (const std::optional<QString> path = missingFolderPath(data.toByteArray())) {
            // A folder that is gone (an unmounted disk, a renamed folder) keeps its place, so
            // that the user sees it missing instead of losing it without a word.
            m_folders.append({SecureURL(*path), missingIcon});
        }
    }
    save();
    Q_EMIT foldersChanged();
}

bool FoldersController::isMissing(const Folder &folder) {
    return !QFileInfo(folder.secureURL.path()).isDir();
}

std::optional<QString> FoldersController::missingFolderPath(const QByteArray &bookmark) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString path = decoder.decode(bookmark);
    if (decoder.hasError() || !QDir::isAbsolutePath(path) || path.contains(QChar(0)) ||
        QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}

void FoldersController::save() {
    QVariantList bookmarks;
    for (const Folder &folder : std::as_const(m_folders)) {
        if (const std::optional<QByteArray> bookmark = folder.secureURL.bookmark())
            bookmarks.append(*bookmark);
    }
    Defaults::shared().setValue(UserDefaultsKeys::folders, bookmarks);
}

void FoldersController::add(const QString &folderPath) {
    const SecureURL secureURL(folderPath);
    const bool isListed = std::any_of(m_folders.cbegin(), m_folders.cend(), [&](const Folder &f) {
        return f.secureURL.url() == secureURL.url();
    });
    if (isListed)
        return;
    if (const std::optional<QString> icon = iconForPath(secureURL.path())) {
        m_folders.append({secureURL, *icon});
        Q_EMIT foldersChanged();
    }
    save();
}

void FoldersController::removeAt(qsizetype index) {
    if (index < 0 || index >= m_folders.size())
        return;
    m_folders.removeAt(index);
    save();
    Q_EMIT foldersChanged();
}

std::optional<QString> FoldersController::iconForPath(const QString &path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return QStringLiteral("folder");
}

void FoldersController::reset() {
    m_folders.clear();
}

} // namespace Vandra

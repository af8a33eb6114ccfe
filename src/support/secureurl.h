#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace Vandra {

// A folder with a lasting grant of access. On Linux the grant is the folder's absolute
// path, stored as UTF-8 bookmark data; a bookmark whose folder is gone does not resolve.
class SecureURL final {
public:
    // From a folder's local file URL or absolute path; relative paths are made absolute.
    explicit SecureURL(const QUrl &url);
    explicit SecureURL(const QString &folderPath);
    // From stored bookmark data; none when the data is not an absolute path or the path
    // is no longer a folder.
    [[nodiscard]] static std::optional<SecureURL> fromBookmark(const QByteArray &bookmark);

    [[nodiscard]] QUrl url() const { return QUrl::fromLocalFile(m_path); }
    [[nodiscard]] QString path() const { return m_path; }
    // The data to store for the grant; none when there is no path to keep.
    [[nodiscard]] std::optional<QByteArray> bookmark() const;

    friend bool operator==(const SecureURL &, const SecureURL &) = default;

private:
    QString m_path;
};

} // namespace Vandra

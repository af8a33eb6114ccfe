#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// The index of an icon theme that gtk-update-icon-cache keeps in icon-theme.cache: for each
// icon name, the theme's folders that hold a file of it and of which types. Asking it costs
// a few look-ups where listing the theme's folders reads thousands of entries, which took a
// good part of the window's start. A cache older than any folder it describes is not used,
// as GTK and Qt do, and every offset is checked, as the file may be damaged.
class IconThemeCache {
public:
    enum class FileType { png, svg, xpm };

    // The cache of the theme in themeFolder, when there is one and it is current.
    [[nodiscard]] static std::optional<IconThemeCache> open(const QString &themeFolder);
    // The cache held in data, whatever its age.
    [[nodiscard]] static std::optional<IconThemeCache> fromData(QByteArray data);

    // The folders, relative to the theme, that hold name with a file of type.
    [[nodiscard]] QStringList foldersWith(const QString &name, FileType type) const;
    // Every folder the cache describes, relative to the theme.
    [[nodiscard]] const QStringList &folders() const { return m_folders; }

private:
    IconThemeCache() = default;

    [[nodiscard]] std::optional<quint16> word(qsizetype at) const;
    [[nodiscard]] std::optional<quint32> number(qsizetype at) const;
    [[nodiscard]] std::optional<QByteArray> text(qsizetype at) const;

    QByteArray m_data;
    QStringList m_folders;
    quint32 m_hashOffset = 0;
    quint32 m_bucketCount = 0;
};

} // namespace Vandra

#include "ui/common/iconthemecache.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace Vandra {

namespace {

const QString cacheName = QStringLiteral("icon-theme.cache");
constexpr quint32 none = 0xffffffff;

// The flags of an image entry.
constexpr quint16 hasXpm = 1;
constexpr quint16 hasSvg = 2;
constexpr quint16 hasPng = 4;

// GTK's hash of an icon name, over its bytes taken as signed chars.
quint32 hashOf(const QByteArray &name) {
    if (name.isEmpty())
        return 0;
    auto hash = quint32(qint32(static_cast<signed char>(name.at(0))));
    for (qsizetype i = 1; i < name.size(); ++i)
        hash = (hash << 5) - hash + quint32(qint32(static_cast<signed char>(name.at(i))));
    return hash;
}

quint16 flagOf(IconThemeCache::FileType type) {
    switch (type) {
    case IconThemeCache::FileType::png:
        return hasPng;
    case IconThemeCache::FileType::svg:
        return hasSvg;
    case IconThemeCache::FileType::xpm:
        return hasXpm;
    }
    return 0;
}

} // namespace

std::optional<IconThemeCache> IconThemeCache::open(const QString &themeFolder) {
    QFile file(themeFolder + QLatin1Char('/') + cacheName);
    const QFileInfo cacheInfo(file);
    if (!cacheInfo.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QDateTime written = cacheInfo.lastModified();
    if (QFileInfo(themeFolder).lastModified() > written)
        return std::nullopt;
    std::optional<IconThemeCache> cache = fromData(file.readAll());
    if (!cache)
        return std::nullopt;
    // An icon added to a folder after the cache was written is not in it.
    for (const QString &folder : std::as_const(cache->m_folders)) {
        const QFileInfo info(themeFolder + QLatin1Char('/') + folder);
        if (info.exists() && info.lastModified() > written)
            return std::nullopt;
    }
    return cache;
}

std::optional<IconThemeCache> IconThemeCache::fromData(QByteArray data) {
    IconThemeCache cache;
    cache.m_data = std::move(data);
    const std::optional<quint16> major = cache.word(0);
    const std::optional<quint32> hashOffset = cache.number(4);
    const std::optional<quint32> folderListOffset = cache.number(8);
    if (!major || *major != 1 || !hashOffset || !folderListOffset)
        return std::nullopt;
    const std::optional<quint32> bucketCount = cache.number(*hashOffset);
    const std::optional<quint32> folderCount = cache.number(*folderListOffset);
    if (!bucketCount || *bucketCount == 0 || !folderCount ||
        qsizetype(*bucketCount) > cache.m_data.size() / 4 ||
        qsizetype(*folderCount) > cache.m_data.size() / 4)
        return std::nullopt;
    for (quint32 i = 0; i < *folderCount; ++i) {
        const std::optional<quint32> at = cache.number(qsizetype(*folderListOffset) + 4 + 4 * i);
        const std::optional<QByteArray> name = at ? cache.text(*at) : std::nullopt;
        if (!name)
            return std::nullopt;
        cache.m_folders.append(QString::fromUtf8(*name));
    }
    cache.m_hashOffset = *hashOffset;
    cache.m_bucketCount = *bucketCount;
    return cache;
}

QStringList IconThemeCache::foldersWith(const QString &name, FileType type) const {
    const QByteArray wanted = name.toUtf8();
    const quint16 flag = flagOf(type);
    std::optional<quint32> entry =
        number(qsizetype(m_hashOffset) + 4 + 4 * qsizetype(hashOf(wanted) % m_bucketCount));
    // Each entry is at least 12 bytes: a longer chain than that goes round in circles.
    for (qsizetype steps = m_data.size() / 12; entry && *entry != none && steps > 0; --steps) {
        const std::optional<quint32> nameAt = number(qsizetype(*entry) + 4);
        const std::optional<QByteArray> entryName = nameAt ? text(*nameAt) : std::nullopt;
        if (!entryName)
            return {};
        if (*entryName == wanted) {
            const std::optional<quint32> imagesAt = number(qsizetype(*entry) + 8);
            const std::optional<quint32> count = imagesAt ? number(*imagesAt) : std::nullopt;
            if (!count || qsizetype(*count) > m_data.size() / 8)
                return {};
            QStringList folders;
            for (quint32 i = 0; i < *count; ++i) {
                const qsizetype image = qsizetype(*imagesAt) + 4 + 8 * qsizetype(i);
                const std::optional<quint16> folder = word(image);
                const std::optional<quint16> flags = word(image + 2);
                if (!folder || !flags || *folder >= m_folders.size())
                    return {};
                if (*flags & flag)
                    folders.append(m_folders.at(*folder));
            }
            return folders;
        }
        entry = number(*entry);
    }
    return {};
}

std::optional<quint16> IconThemeCache::word(qsizetype at) const {
    if (at < 0 || at + 2 > m_data.size())
        return std::nullopt;
    return qFromBigEndian<quint16>(m_data.constData() + at);
}

std::optional<quint32> IconThemeCache::number(qsizetype at) const {
    if (at < 0 || at + 4 > m_data.size())
        return std::nullopt;
    return qFromBigEndian<quint32>(m_data.constData() + at);
}

std::optional<QByteArray> IconThemeCache::text(qsizetype at) const {
    if (at < 0 || at >= m_data.size())
        return std::nullopt;
    const qsizetype end = m_data.indexOf('\0', at);
    if (end < 0)
        return std::nullopt;
    return m_data.mid(at, end - at);
}

} // namespace Vandra

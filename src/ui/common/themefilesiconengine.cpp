#include "ui/common/themefilesiconengine.h"

#include <QPainter>

namespace Vandra {

ThemeFilesIconEngine::ThemeFilesIconEngine(QList<File> files)
    : m_files(std::move(files)) {}

const QIcon &ThemeFilesIconEngine::icon() {
    if (!m_icon) {
        QIcon read;
        for (const File &file : std::as_const(m_files))
            read.addFile(file.path, file.size);
        m_icon = read;
    }
    return *m_icon;
}

void ThemeFilesIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                                 QIcon::State state) {
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap ThemeFilesIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    return icon().pixmap(size, mode, state);
}

QSize ThemeFilesIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    return icon().actualSize(size, mode, state);
}

QList<QSize> ThemeFilesIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return icon().availableSizes(mode, state);
}

QIconEngine *ThemeFilesIconEngine::clone() const {
    auto *copy = new ThemeFilesIconEngine(m_files);
    copy->m_icon = m_icon;
    return copy;
}

QString ThemeFilesIconEngine::key() const {
    return QStringLiteral("ThemeFilesIconEngine");
}

} // namespace Vandra

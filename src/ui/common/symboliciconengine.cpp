#include "ui/common/symboliciconengine.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace Vandra {

namespace {

QColor colourFor(QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::WindowText);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case QIcon::Normal:
    case QIcon::Active:
        break;
    }
    return palette.color(QPalette::Active, QPalette::WindowText);
}

} // namespace

SymbolicIconEngine::SymbolicIconEngine(const QIcon &source)
    : m_source(source) {}

void SymbolicIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
                               QIcon::State state) {
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    QPixmap image = pixmap(rect.size() * ratio, mode, state);
    image.setDevicePixelRatio(ratio);
    painter->drawPixmap(rect, image);
}

QPixmap SymbolicIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    QImage image = m_source.pixmap(size, QIcon::Normal, state)
                       .toImage()
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colourFor(mode));
    painter.end();
    return QPixmap::fromImage(std::move(image));
}

QSize SymbolicIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) {
    return m_source.actualSize(size, mode, state);
}

QList<QSize> SymbolicIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return m_source.availableSizes(mode, state);
}

QIconEngine *SymbolicIconEngine::clone() const {
    return new SymbolicIconEngine(m_source);
}

QString SymbolicIconEngine::key() const {
    return QStringLiteral("VandraSymbolic");
}

} // namespace Vandra

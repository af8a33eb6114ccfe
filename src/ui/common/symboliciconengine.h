#pragma once

#include <QIcon>
#include <QIconEngine>

namespace Vandra {

// Draws a monochrome icon in the colour of the application palette's text at the moment it
// is painted: so one icon suits light and dark palettes, and a palette change needs no
// reload.
class SymbolicIconEngine final : public QIconEngine {
public:
    explicit SymbolicIconEngine(const QIcon &source);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    [[nodiscard]] QIconEngine *clone() const override;
    [[nodiscard]] QString key() const override;

private:
    QIcon m_source;
};

} // namespace Vandra

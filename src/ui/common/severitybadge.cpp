#include "ui/common/severitybadge.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRect>

namespace Vandra {

namespace {

using Severity = Finding::Severity;

// Fixed colours: the badge must read the same on light and dark palettes.
QColor fill(Severity severity) {
    switch (severity) {
    case Severity::error:
        return QColor(0xd3, 0x2f, 0x2f);
    case Severity::warning:
        return QColor(0xe6, 0x8a, 0x00);
    case Severity::note:
        break;
    }
    return QColor(0x1e, 0x78, 0xc8);
}

// The part of an icon's side the badge covers on its corner.
constexpr qreal cornerShare = 0.5;
// Below this the sign would not be legible; the badge keeps this size on small icons.
constexpr int smallestBadge = 9;

// Paints an icon, or nothing, and then the badge: over the icon's corner, or alone filling
// the square; at whatever size it is asked for.
class BadgedIconEngine final : public QIconEngine {
public:
    BadgedIconEngine(const QIcon &base, Severity severity)
        : m_base(base)
        , m_severity(severity) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        const int side = qMin(rect.width(), rect.height());
        if (m_base.isNull()) {
            SeverityBadge::paint(*painter,
                                 QRect(rect.left() + (rect.width() - side) / 2,
                                       rect.top() + (rect.height() - side) / 2, side, side),
                                 m_severity);
            return;
        }
        m_base.paint(painter, rect, Qt::AlignCenter, mode, state);
        const int badge = qMin(side, qMax(smallestBadge, qRound(side * cornerShare)));
        const bool isRightToLeft = painter->layoutDirection() == Qt::RightToLeft;
        const QRect corner(isRightToLeft ? rect.left() : rect.right() + 1 - badge,
                           rect.bottom() + 1 - badge, badge, badge);
        SeverityBadge::paint(*painter, corner, m_severity);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

    [[nodiscard]] QIconEngine *clone() const override {
        return new BadgedIconEngine(m_base, m_severity);
    }

    [[nodiscard]] QString key() const override { return QStringLiteral("VandraBadged"); }

private:
    QIcon m_base;
    Severity m_severity;
};

} // namespace

void SeverityBadge::paint(QPainter &painter, const QRect &rect, Finding::Severity severity) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
    // A white rim parts the badge from the icon under it.
    painter.setPen(QPen(Qt::white, qMax(1.0, disc.width() / 12)));
    painter.setBrush(fill(severity));
    painter.drawEllipse(disc);

    // The sign: an exclamation mark for errors and warnings, an "i" for notes.
    const qreal unit = disc.width() / 12;
    const qreal x = disc.center().x();
    const qreal stroke = qMax(1.0, unit * 1.7);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    const bool isNote = severity == Severity::note;
    const QRectF bar(x - stroke / 2, disc.top() + unit * (isNote ? 5.0 : 2.6), stroke,
                     unit * (isNote ? 4.4 : 4.8));
    const QRectF dot(x - stroke / 2, disc.top() + unit * (isNote ? 2.6 : 8.0), stroke, stroke);
    painter.drawRect(bar);
    painter.drawEllipse(dot);
    painter.restore();
}

QIcon SeverityBadge::icon(Finding::Severity severity) {
    return QIcon(new BadgedIconEngine(QIcon(), severity));
}

QIcon SeverityBadge::badged(const QIcon &base, std::optional<Finding::Severity> severity) {
    if (!severity)
        return base;
    return QIcon(new BadgedIconEngine(base, *severity));
}

QString SeverityBadge::title(Finding::Severity severity) {
    switch (severity) {
    case Severity::error:
        return tr("Error");
    case Severity::warning:
        return tr("Warning");
    case Severity::note:
        break;
    }
    return tr("Note");
}

QString SeverityBadge::accessibleText(const QString &name,
                                      std::optional<Finding::Severity> severity) {
    if (!severity)
        return name;
    switch (*severity) {
    case Severity::error:
        return tr("%1, has errors").arg(name);
    case Severity::warning:
        return tr("%1, has warnings").arg(name);
    case Severity::note:
        break;
    }
    return tr("%1, has notes").arg(name);
}

} // namespace Vandra

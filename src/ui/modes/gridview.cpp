#include "ui/modes/gridview.h"

#include "support/localize.h"
#include "ui/modes/roles.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextLayout>

namespace Vandra {

namespace {

constexpr int itemPadding = 4;
constexpr int iconTop = 8;
constexpr int labelGap = 4;
constexpr int headerIconSize = 16;
constexpr int headerMargin = 8;

// Lays the label out on at most two lines, breaking anywhere in long names, and shortens
// the second line when the label does not fit.
QList<QString> labelLines(const QString &label, const QFont &font, int width) {
    const QFontMetrics metrics(font);
    QTextLayout layout(label, font);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QString> lines;
    QTextLine line = layout.createLine();
    if (line.isValid()) {
        line.setLineWidth(width);
        lines.append(label.mid(line.textStart(), line.textLength()).trimmed());
        const QString rest = label.mid(line.textStart() + line.textLength());
        if (!rest.isEmpty())
            lines.append(metrics.elidedText(rest.trimmed(), Qt::ElideMiddle, width));
    }
    layout.endLayout();
    return lines;
}

} // namespace

GridView::GridView(QWidget *parent)
    : QAbstractItemView(parent) {
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(ScrollPerPixel);
    setMouseTracking(true);
    verticalScrollBar()->setSingleStep(20);
}

const GridLayout &GridView::gridLayout() const {
    if (!m_layout) {
        QList<int> counts;
        if (model()) {
            for (int section = 0; section < model()->rowCount(rootIndex()); ++section)
                counts.append(model()->rowCount(model()->index(section, 0, rootIndex())));
        }
        m_layout.emplace(viewport()->width(), counts);
    }
    return *m_layout;
}

void GridView::invalidateLayout() {
    m_layout.reset();
    updateGeometries();
    viewport()->update();
}

QModelIndex GridView::indexOf(const GridLayout::Position &position) const {
    if (!model())
        return {};
    return model()->index(position.item, 0, model()->index(position.section, 0, rootIndex()));
}

std::optional<GridLayout::Position> GridView::positionOf(const QModelIndex &index) const {
    if (!index.isValid() || !index.parent().isValid())
        return std::nullopt;
    const int section = index.parent().row();
    const int item = index.row();
    const GridLayout &layout = gridLayout();
    if (section >= layout.sectionCount() || item >= model()->rowCount(index.parent()))
        return std::nullopt;
    return GridLayout::Position{section, item};
}

QRect GridView::visualRect(const QModelIndex &index) const {
    if (!index.isValid())
        return {};
    const int scrollY = verticalOffset();
    const GridLayout &layout = gridLayout();
    if (!index.parent().isValid()) {
        if (index.row() >= layout.sectionCount())
            return {};
        return layout.pinnedHeaderRect(index.row(), scrollY).translated(0, -scrollY);
    }
    const std::optional<GridLayout::Position> position = positionOf(index.siblingAtColumn(0));
    if (!position || index.column() != 0)
        return {};
    return layout.itemRect(position->section, position->item).translated(0, -scrollY);
}

void GridView::scrollTo(const QModelIndex &index, ScrollHint hint) {
    const std::optional<GridLayout::Position> position = positionOf(index);
    if (!position)
        return;
    const QRect item = gridLayout().itemRect(position->section, position->item);
    const int scrollY = verticalOffset();
    // The pinned header hides the top of the view.
    const int visibleTop = scrollY + GridLayout::headerHeight;
    const int visibleBottom = scrollY + viewport()->height();
    int target = scrollY;
    switch (hint) {
    case PositionAtTop:
        target = item.top() - GridLayout::headerHeight - GridLayout::insetTop;
        break;
    case PositionAtBottom:
        target = item.bottom() + 1 + GridLayout::insetBottom - viewport()->height();
        break;
    case PositionAtCenter:
        target = item.center().y() - viewport()->height() / 2;
        break;
    case EnsureVisible:
        if (item.top() < visibleTop)
            target = item.top() - GridLayout::headerHeight - GridLayout::insetTop;
        else if (item.bottom() >= visibleBottom)
            target = item.bottom() + 1 + GridLayout::insetBottom - viewport()->height();
        break;
    }
    verticalScrollBar()->setValue(target);
}

QModelIndex GridView::indexAt(const QPoint &point) const {
    if (!model())
        return {};
    const int scrollY = verticalOffset();
    const QPoint content = point + QPoint(0, scrollY);
    const GridLayout &layout = gridLayout();
    for (int section = 0; section < layout.sectionCount(); ++section) {
        if (layout.pinnedHeaderRect(section, scrollY).contains(content))
            return model()->index(section, 0, rootIndex());
    }
    const std::optional<GridLayout::Position> position = layout.itemAt(content);
    return position ? indexOf(*position) : QModelIndex();
}

void GridView::reset() {
    QAbstractItemView::reset();
    invalidateLayout();
}

void GridView::setModel(QAbstractItemModel *model) {
    for (const QMetaObject::Connection &connection : std::as_const(m_modelConnections))
        disconnect(connection);
    m_modelConnections.clear();
    QAbstractItemView::setModel(model);
    if (!model)
        return;
    // Items that went (the filter hiding jobs) move every later item.
    m_modelConnections = {
        connect(model, &QAbstractItemModel::rowsRemoved, this, &GridView::invalidateLayout),
        connect(model, &QAbstractItemModel::layoutChanged, this, &GridView::invalidateLayout),
    };
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers) {
    const GridLayout &layout = gridLayout();
    QList<GridLayout::Position> all;
    for (int section = 0; section < layout.sectionCount(); ++section) {
        for (int item = 0; item < model()->rowCount(model()->index(section, 0, rootIndex()));
             ++item)
            all.append({section, item});
    }
    if (all.isEmpty())
        return {};
    const std::optional<GridLayout::Position> current = positionOf(currentIndex());
    if (!current)
        return indexOf(all.first());
    const qsizetype at = all.indexOf(*current);
    std::optional<GridLayout::Position> next;
    switch (cursorAction) {
    case MoveLeft:
    case MovePrevious:
        if (at > 0)
            next = all.at(at - 1);
        break;
    case MoveRight:
    case MoveNext:
        if (at + 1 < all.size())
            next = all.at(at + 1);
        break;
    case MoveUp:
    case MovePageUp:
        next = layout.itemAbove(*current);
        break;
    case MoveDown:
    case MovePageDown:
        next = layout.itemBelow(*current);
        break;
    case MoveHome:
        next = all.first();
        break;
    case MoveEnd:
        next = all.last();
        break;
    }
    return indexOf(next.value_or(*current));
}

int GridView::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool GridView::isIndexHidden(const QModelIndex &) const {
    return false;
}

void GridView::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) {
    const QRect content = rect.normalized().translated(0, verticalOffset());
    const GridLayout &layout = gridLayout();
    QItemSelection selection;
    for (int section = 0; section < layout.sectionCount(); ++section) {
        const QModelIndex parent = model()->index(section, 0, rootIndex());
        for (int item = 0; item < model()->rowCount(parent); ++item) {
            if (layout.itemRect(section, item).intersects(content)) {
                const QModelIndex index = model()->index(item, 0, parent);
                selection.select(index, index);
            }
        }
    }
    selectionModel()->select(selection, command);
}

QRegion GridView::visualRegionForSelection(const QItemSelection &selection) const {
    QRegion region;
    for (const QModelIndex &index : selection.indexes())
        region += visualRect(index);
    return region;
}

QItemSelectionModel::SelectionFlags GridView::selectionCommand(const QModelIndex &index,
                                                               const QEvent *event) const {
    return gatedSelectionCommand(QAbstractItemView::selectionCommand(index, event), index, m_gate);
}

void GridView::updateGeometries() {
    const int content = gridLayout().contentHeight();
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, content - viewport()->height()));
    QAbstractItemView::updateGeometries();
}

void GridView::scrollContentsBy(int, int) {
    // Pinned headers move differently from the items, so the whole view is drawn again.
    viewport()->update();
}

void GridView::resizeEvent(QResizeEvent *event) {
    QAbstractItemView::resizeEvent(event);
    invalidateLayout();
}

void GridView::rowsInserted(const QModelIndex &parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    invalidateLayout();
}

void GridView::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) {
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    m_layout.reset();
}

void GridView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                           const QList<int> &roles) {
    // The base class works out where every item of a range is; for a new status of every
    // job that costs more than drawing the view again.
    if (topLeft == bottomRight)
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    viewport()->update();
}

void GridView::paintEvent(QPaintEvent *event) {
    if (!model())
        return;
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing);
    const int scrollY = verticalOffset();
    const QRect visible = event->rect().translated(0, scrollY);
    const GridLayout &layout = gridLayout();

    for (int section = 0; section < layout.sectionCount(); ++section) {
        const int top = layout.sectionTop(section);
        if (top > visible.bottom() || top + layout.sectionHeight(section) < visible.top())
            continue;
        const QModelIndex parent = model()->index(section, 0, rootIndex());
        for (int item = 0; item < model()->rowCount(parent); ++item) {
            const QRect rect = layout.itemRect(section, item);
            if (rect.intersects(visible))
                paintItem(painter, model()->index(item, 0, parent), rect.translated(0, -scrollY));
        }
    }
    // Headers last, so that a pinned header covers the items scrolling under it.
    for (int section = 0; section < layout.sectionCount(); ++section) {
        const QRect rect = layout.pinnedHeaderRect(section, scrollY);
        if (rect.intersects(visible))
            paintHeader(painter, model()->index(section, 0, rootIndex()),
                        rect.translated(0, -scrollY));
    }
}

void GridView::paintItem(QPainter &painter, const QModelIndex &index, const QRect &rect) const {
    const bool isSelected = selectionModel() && selectionModel()->isSelected(index);
    const bool isEnabled = index.data(Roles::IsEnabled).toBool();
    const QPalette &colours = palette();

    if (isSelected) {
        QPainterPath path;
        path.addRoundedRect(QRectF(rect).adjusted(1, 1, -1, -1), 8, 8);
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        painter.fillPath(path, colours.color(group, QPalette::Highlight));
    }

    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    const QRect iconRect(rect.left() + (rect.width() - iconSize) / 2, rect.top() + iconTop,
                         iconSize, iconSize);
    icon.paint(&painter, iconRect, Qt::AlignCenter, isEnabled ? QIcon::Normal : QIcon::Disabled);
    paintStatusMark(painter, JobStatusText::Mark(index.data(Roles::StatusMark).toInt()), iconRect);

    QColor text = colours.color(isEnabled ? QPalette::Text : QPalette::PlaceholderText);
    if (isSelected)
        text = colours.color(QPalette::HighlightedText);
    painter.setPen(text);
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 0.92);
    painter.setFont(font);
    const int width = rect.width() - 2 * itemPadding;
    const QFontMetrics metrics(font);
    int y = iconRect.bottom() + 1 + labelGap;
    for (const QString &line : labelLines(index.data(Qt::DisplayRole).toString(), font, width)) {
        painter.drawText(QRect(rect.left() + itemPadding, y, width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, line);
        y += metrics.height();
    }
}

void GridView::paintStatusMark(QPainter &painter, JobStatusText::Mark mark,
                               const QRect &iconRect) const {
    if (mark == JobStatusText::Mark::none)
        return;
    // A dot on the icon's corner: filled while the job runs, a ring while it is loaded.
    constexpr int diameter = 10;
    const QRectF dot(iconRect.right() - diameter + 1, iconRect.top(), diameter, diameter);
    const QColor colour = palette().color(QPalette::Highlight);
    painter.save();
    painter.setPen(QPen(colour, 2));
    painter.setBrush(mark == JobStatusText::Mark::running
                         ? QBrush(colour)
                         : QBrush(palette().color(QPalette::Base)));
    painter.drawEllipse(dot.adjusted(1, 1, -1, -1));
    painter.restore();
}

void GridView::paintHeader(QPainter &painter, const QModelIndex &section, const QRect &rect) const {
    const QPalette &colours = palette();
    painter.fillRect(rect, colours.color(QPalette::Window));
    painter.setPen(colours.color(QPalette::Mid));
    painter.drawLine(rect.bottomLeft(), rect.bottomRight());

    const QIcon icon = section.data(Qt::DecorationRole).value<QIcon>();
    const QRect iconRect(rect.left() + headerMargin,
                         rect.top() + (rect.height() - headerIconSize) / 2, headerIconSize,
                         headerIconSize);
    icon.paint(&painter, iconRect);

    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(colours.color(QPalette::WindowText));
    const QString title = section.data(Qt::DisplayRole).toString();
    const int titleLeft = iconRect.right() + 1 + headerMargin;
    const QRect titleRect(titleLeft, rect.top(), rect.width() - titleLeft - headerMargin,
                          rect.height());
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter, title);

    const int titleWidth = QFontMetrics(bold).horizontalAdvance(title);
    painter.setFont(font());
    painter.setPen(colours.color(QPalette::PlaceholderText));
    const QString count = Localize::integer(section.data(Roles::Count).toInt());
    painter.drawText(titleRect.adjusted(titleWidth + headerMargin, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter, count);
}

} // namespace Vandra

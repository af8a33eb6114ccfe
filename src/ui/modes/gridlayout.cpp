#include "ui/modes/gridlayout.h"

#include <algorithm>

namespace Vandra {

GridLayout::GridLayout(int width, QList<int> counts)
    : m_width(width)
    , m_counts(std::move(counts)) {
    const int usable = width - insetLeft - insetRight + itemSpacing;
    m_columns = std::max(1, usable / (itemWidth + itemSpacing));
    int top = 0;
    for (int section = 0; section < m_counts.size(); ++section) {
        m_tops.append(top);
        top += sectionHeight(section);
    }
}

int GridLayout::rowsOf(int section) const {
    const int count = m_counts.at(section);
    return (count + m_columns - 1) / m_columns;
}

int GridLayout::sectionHeight(int section) const {
    const int rows = rowsOf(section);
    const int body = rows == 0 ? 0 : rows * itemHeight + (rows - 1) * lineSpacing;
    return headerHeight + insetTop + body + insetBottom;
}

int GridLayout::contentHeight() const {
    if (m_counts.isEmpty())
        return 0;
    const int last = sectionCount() - 1;
    return sectionTop(last) + sectionHeight(last);
}

QRect GridLayout::headerRect(int section) const {
    return {0, sectionTop(section), m_width, headerHeight};
}

QRect GridLayout::itemRect(int section, int item) const {
    const int row = item / m_columns;
    const int column = item % m_columns;
    const int x = insetLeft + column * (itemWidth + itemSpacing);
    const int y = sectionTop(section) + headerHeight + insetTop + row * (itemHeight + lineSpacing);
    return {x, y, itemWidth, itemHeight};
}

QRect GridLayout::pinnedHeaderRect(int section, int scrollY) const {
    const int top = sectionTop(section);
    const int bottom = top + sectionHeight(section);
    const int y = std::clamp(scrollY, top, std::max(top, bottom - headerHeight));
    return {0, y, m_width, headerHeight};
}

int GridLayout::pinnedSection(int scrollY) const {
    if (m_counts.isEmpty())
        return -1;
    int section = 0;
    while (section + 1 < sectionCount() && sectionTop(section + 1) <= scrollY)
        ++section;
    return section;
}

std::optional<GridLayout::Position> GridLayout::itemAt(const QPoint &point) const {
    for (int section = 0; section < sectionCount(); ++section) {
        const int top = sectionTop(section);
        if (point.y() < top || point.y() >= top + sectionHeight(section))
            continue;
        const int dy = point.y() - top - headerHeight - insetTop;
        const int dx = point.x() - insetLeft;
        if (dy < 0 || dx < 0)
            return std::nullopt;
        const int row = dy / (itemHeight + lineSpacing);
        const int column = dx / (itemWidth + itemSpacing);
        const int item = row * m_columns + column;
        if (column < m_columns && row < rowsOf(section) && item < m_counts.at(section) &&
            itemRect(section, item).contains(point))
            return Position{section, item};
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<GridLayout::Position> GridLayout::itemAbove(const Position &position) const {
    if (position.item >= m_columns)
        return Position{position.section, position.item - m_columns};
    const int column = position.item % m_columns;
    for (int section = position.section - 1; section >= 0; --section) {
        const int count = m_counts.at(section);
        if (count == 0)
            continue;
        const int lastRowStart = (rowsOf(section) - 1) * m_columns;
        return Position{section, std::min(count - 1, lastRowStart + column)};
    }
    return std::nullopt;
}

std::optional<GridLayout::Position> GridLayout::itemBelow(const Position &position) const {
    const int count = m_counts.at(position.section);
    if (position.item + m_columns < count)
        return Position{position.section, position.item + m_columns};
    // On the last row but one, with the row below shorter: the last item.
    const int row = position.item / m_columns;
    if (row + 1 < rowsOf(position.section))
        return Position{position.section, count - 1};
    const int column = position.item % m_columns;
    for (int section = position.section + 1; section < sectionCount(); ++section) {
        const int next = m_counts.at(section);
        if (next == 0)
            continue;
        return Position{section, std::min(next - 1, column)};
    }
    return std::nullopt;
}

} // namespace Vandra

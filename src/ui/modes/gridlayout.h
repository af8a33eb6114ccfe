#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

namespace Vandra {

// Where the grid mode puts its section headers and items, in content coordinates (the top of
// the first header is 0). Items flow left to right in rows inside each section; a section's
// header stays pinned at the top of the view while its section scrolls under it.
struct GridLayout {
    static constexpr int itemWidth = 142;
    static constexpr int itemHeight = 92;
    static constexpr int insetTop = 6;
    static constexpr int insetBottom = 6;
    static constexpr int insetLeft = 3;
    static constexpr int insetRight = 3;
    static constexpr int itemSpacing = 2;
    static constexpr int lineSpacing = 2;
    static constexpr int headerHeight = 28;

    struct Position {
        int section = -1;
        int item = -1;
        friend bool operator==(const Position &, const Position &) = default;
    };

    GridLayout(int width, QList<int> counts);

    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int columns() const { return m_columns; }
    [[nodiscard]] int sectionCount() const { return int(m_counts.size()); }
    [[nodiscard]] int rowsOf(int section) const;
    [[nodiscard]] int sectionTop(int section) const { return m_tops.at(section); }
    [[nodiscard]] int sectionHeight(int section) const;
    [[nodiscard]] int contentHeight() const;

    [[nodiscard]] QRect headerRect(int section) const;
    [[nodiscard]] QRect itemRect(int section, int item) const;
    // The header as drawn when the view's top is at scrollY: at the top of the view while
    // its section is under it, pushed up by the end of its section.
    [[nodiscard]] QRect pinnedHeaderRect(int section, int scrollY) const;
    // The section whose header is pinned at scrollY; -1 when there are no sections.
    [[nodiscard]] int pinnedSection(int scrollY) const;
    // The item at a point; none between items and on headers.
    [[nodiscard]] std::optional<Position> itemAt(const QPoint &point) const;
    // The item straight above or below, across sections; none at the ends.
    [[nodiscard]] std::optional<Position> itemAbove(const Position &position) const;
    [[nodiscard]] std::optional<Position> itemBelow(const Position &position) const;

private:
    int m_width;
    QList<int> m_counts;
    int m_columns;
    QList<int> m_tops;
};

} // namespace Vandra

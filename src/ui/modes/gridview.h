#pragma once

#include "actions/jobstatustext.h"
#include "ui/modes/gridlayout.h"
#include "ui/modes/selectiongate.h"

#include <QAbstractItemView>

#include <optional>

namespace Vandra {

// The grid mode's view of a SectionModel: a header per section (icon, title, count) that
// stays at the top while its section scrolls, and an item per job with its icon and label.
class GridView final : public QAbstractItemView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridView)

public:
    static constexpr int iconSize = 48;

    explicit GridView(QWidget *parent = nullptr);

    void setSelectionGate(SelectionGate gate) { m_gate = std::move(gate); }
    // The layout for the view's current width and model.
    [[nodiscard]] const GridLayout &gridLayout() const;

    [[nodiscard]] QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    [[nodiscard]] QModelIndex indexAt(const QPoint &point) const override;
    void reset() override;
    void setModel(QAbstractItemModel *model) override;

protected:
    [[nodiscard]] QModelIndex moveCursor(CursorAction cursorAction,
                                         Qt::KeyboardModifiers modifiers) override;
    [[nodiscard]] int horizontalOffset() const override { return 0; }
    [[nodiscard]] int verticalOffset() const override;
    [[nodiscard]] bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    [[nodiscard]] QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    [[nodiscard]] QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex &index, const QEvent *event) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    void invalidateLayout();
    [[nodiscard]] QModelIndex indexOf(const GridLayout::Position &position) const;
    [[nodiscard]] std::optional<GridLayout::Position> positionOf(const QModelIndex &index) const;
    void paintItem(QPainter &painter, const QModelIndex &index, const QRect &rect) const;
    void paintStatusMark(QPainter &painter, JobStatusText::Mark mark, const QRect &iconRect) const;
    void paintHeader(QPainter &painter, const QModelIndex &section, const QRect &rect) const;

    SelectionGate m_gate;
    mutable std::optional<GridLayout> m_layout;
    QList<QMetaObject::Connection> m_modelConnections;
};

} // namespace Vandra

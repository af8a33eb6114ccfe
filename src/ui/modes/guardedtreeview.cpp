#include "ui/modes/guardedtreeview.h"

#include <QAccessible>

namespace Vandra {

namespace {

// More changed rows than a window shows.
constexpr int manyRows = 200;

} // namespace

GuardedTreeView::GuardedTreeView(QWidget *parent)
    : QTreeView(parent) {}

QItemSelectionModel::SelectionFlags GuardedTreeView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const {
    return gatedSelectionCommand(QTreeView::selectionCommand(index, event), index, m_gate);
}

void GuardedTreeView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                  const QList<int> &roles) {
    // For a range, the tree asks every row in it for its height and where it is drawn, which
    // at thousands of rows (a new status or doctor's verdict for every job) costs far more
    // than drawing the rows shown again. The rows' heights are all the same.
    if (!uniformRowHeights() || bottomRight.row() - topLeft.row() < manyRows ||
        topLeft.parent() != bottomRight.parent()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace Vandra

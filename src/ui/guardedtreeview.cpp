#include "ui/guardedtreeview.h"

GuardedTreeView::GuardedTreeView(QWidget *parent)
    : QTreeView(parent) {}

QItemSelectionModel::SelectionFlags GuardedTreeView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const {
    const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
    if (command == QItemSelectionModel::NoUpdate || !m_gate)
        return command;
    // Rows that cannot be selected (headings) change nothing, so they need no permission.
    if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable))
        return command;
    return m_gate() ? command : QItemSelectionModel::NoUpdate;
}

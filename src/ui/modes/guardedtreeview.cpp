#include "ui/modes/guardedtreeview.h"

GuardedTreeView::GuardedTreeView(QWidget *parent)
    : QTreeView(parent) {}

QItemSelectionModel::SelectionFlags GuardedTreeView::selectionCommand(const QModelIndex &index,
                                                                      const QEvent *event) const {
    const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
    // A heading cannot be selected; clicking one leaves the selection as it is.
    if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    if (command == QItemSelectionModel::NoUpdate || !m_gate)
        return command;
    return m_gate() ? command : QItemSelectionModel::NoUpdate;
}

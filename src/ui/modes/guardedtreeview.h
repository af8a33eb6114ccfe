#pragma once

#include "ui/modes/selectiongate.h"

#include <QTreeView>

namespace Vandra {

// A tree or table whose selection the user can change only while its gate allows it.
class GuardedTreeView final : public QTreeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GuardedTreeView)

public:
    explicit GuardedTreeView(QWidget *parent = nullptr);

    void setSelectionGate(SelectionGate gate) { m_gate = std::move(gate); }

protected:
    [[nodiscard]] QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex &index, const QEvent *event) const override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    SelectionGate m_gate;
};

} // namespace Vandra

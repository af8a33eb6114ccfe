#pragma once

#include <QItemSelectionModel>

#include <functional>

namespace Vandra {

// Asked before a view lets the user change its selection; a view whose gate says no leaves
// its selection as it is.
using SelectionGate = std::function<bool()>;

// What a gated view does with the selection command its base class chose for `index`: a
// heading (a row that cannot be selected) leaves the selection as it is, and so does any
// change while the gate says no.
[[nodiscard]] inline QItemSelectionModel::SelectionFlags
gatedSelectionCommand(QItemSelectionModel::SelectionFlags command, const QModelIndex &index,
                      const SelectionGate &gate) {
    if (index.isValid() && !(index.flags() & Qt::ItemIsSelectable))
        return QItemSelectionModel::NoUpdate;
    if (command == QItemSelectionModel::NoUpdate || !gate)
        return command;
    return gate() ? command : QItemSelectionModel::NoUpdate;
}

} // namespace Vandra

#include "ui/preferences/exceptionsmodel.h"

#include "store/exceptionscontroller.h"
#include "support/localize.h"

namespace Vandra {

ExceptionsModel::ExceptionsModel(ExceptionsController &controller, QObject *parent)
    : QAbstractTableModel(parent)
    , m_controller(controller) {
    // The list is rebuilt whole: after every job list rebuild and every agent switch.
    connect(&m_controller, &ExceptionsController::contentChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int ExceptionsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_controller.content().size());
}

int ExceptionsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columns;
}

QVariant ExceptionsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !checkIndex(index))
        return {};
    if (index.column() == Column::enabled) {
        if (role == Qt::CheckStateRole)
            return m_controller.isJobEnabled(index.row()) ? Qt::Checked : Qt::Unchecked;
        if (role == Qt::AccessibleTextRole)
            return Localize::enabled();
        return {};
    }
    if (role == Qt::DisplayRole)
        return m_controller.content().at(index.row())->label;
    if (role == Qt::AccessibleTextRole)
        return Localize::name();
    return {};
}

QVariant ExceptionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == Column::enabled ? Localize::enabled() : Localize::name();
}

Qt::ItemFlags ExceptionsModel::flags(const QModelIndex &index) const {
    if (!index.isValid() || !checkIndex(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemNeverHasChildren;
    if (m_controller.isAgentRunning())
        flags |= Qt::ItemIsEnabled;
    if (index.column() == Column::enabled)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool ExceptionsModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || !checkIndex(index) || index.column() != Column::enabled ||
        role != Qt::CheckStateRole || !m_controller.isAgentRunning())
        return false;
    m_controller.setJobEnabled(index.row(), value.toInt() == Qt::Checked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

} // namespace Vandra

#include "ui/sheets/logtablemodel.h"

#include "actions/helperconnection.h"
#include "actions/logsession.h"

namespace Vandra {

namespace {

constexpr int dateColumn = int(LogSession::Column::date);
constexpr int messageColumn = int(LogSession::Column::message);

} // namespace

LogTableModel::LogTableModel(LogSession &session, QObject *parent)
    : QAbstractTableModel(parent)
    , m_session(session) {
    connect(&session, &LogSession::contentChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
}

int LogTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_session.content().size());
}

int LogTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant LogTableModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LogSession::Item &item = m_session.content().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return index.column() == dateColumn ? item.dateString : item.message;
    case Qt::ToolTipRole:
        return index.column() == messageColumn ? QVariant(item.message) : QVariant();
    default:
        return {};
    }
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal ||
        (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    if (section == dateColumn)
        return tr("Date");
    if (section == messageColumn)
        return tr("Message");
    return {};
}

void LogTableModel::sort(int column, Qt::SortOrder order) {
    if (column != dateColumn && column != messageColumn)
        return;
    m_session.setSortDescriptor(LogSession::columnName(LogSession::Column(column)),
                                order == Qt::AscendingOrder);
}

} // namespace Vandra

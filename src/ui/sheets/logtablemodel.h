#pragma once

#include <QAbstractTableModel>

namespace Vandra {

class LogSession;

// The rows of a log session as a table of date and message. Sorting goes to the session,
// which keeps the order, so that filtering and copying see the rows as shown.
class LogTableModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogTableModel)

public:
    explicit LogTableModel(LogSession &session, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    LogSession &m_session;
};

} // namespace Vandra

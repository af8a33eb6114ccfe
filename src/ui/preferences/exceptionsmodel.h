#pragma once

#include <QAbstractTableModel>

namespace Vandra {

class ExceptionsController;

// The Notifications tab's table: one row per job of the job folders, a check box that says
// whether the agent tells of it, and its label. Rows are never selectable, and every cell is
// disabled while the agent is switched off.
class ExceptionsModel final : public QAbstractTableModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExceptionsModel)

public:
    enum Column { enabled = 0, name };
    static constexpr int columns = 2;

    explicit ExceptionsModel(ExceptionsController &controller, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    ExceptionsController &m_controller;
};

} // namespace Vandra

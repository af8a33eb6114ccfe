#pragma once

#include "ui/modes/selectiongate.h"

#include <QTableView>

namespace Vandra {

// The table of the timeline. Unlike a tree, a table keeps nothing per row but its height, so
// a month of millions of starts costs the view little; the user can change its selection only
// while its gate allows it, and never to a heading.
class TimelineTableView final : public QTableView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimelineTableView)

public:
    explicit TimelineTableView(QWidget *parent = nullptr);

    void setSelectionGate(SelectionGate gate) { m_gate = std::move(gate); }
    // Lays out the headings: across both columns, and taller than the other rows.
    void setHeadingRows(const QList<int> &rows, int height);

protected:
    [[nodiscard]] QItemSelectionModel::SelectionFlags
    selectionCommand(const QModelIndex &index, const QEvent *event) const override;

private:
    SelectionGate m_gate;
    QList<int> m_headingRows;
};

} // namespace Vandra

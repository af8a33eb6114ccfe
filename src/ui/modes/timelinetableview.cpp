#include "ui/modes/timelinetableview.h"

#include <QHeaderView>

namespace Vandra {

TimelineTableView::TimelineTableView(QWidget *parent)
    : QTableView(parent) {
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
}

void TimelineTableView::setHeadingRows(const QList<int> &rows, int height) {
    clearSpans();
    // The header keeps the heights of the rows that stay across a reset. While it does not
    // update, a resized row does not look up where it is, which would sum the heights of the
    // rows before it: across a month of starts, hundreds of thousands a heading.
    QHeaderView *header = verticalHeader();
    header->setUpdatesEnabled(false);
    for (const int row : std::as_const(m_headingRows)) {
        if (row < header->count())
            header->resizeSection(row, header->defaultSectionSize());
    }
    m_headingRows = rows;
    for (const int row : rows) {
        setSpan(row, 0, 1, model()->columnCount());
        header->resizeSection(row, height);
    }
    header->setUpdatesEnabled(true);
    viewport()->update();
}

QItemSelectionModel::SelectionFlags TimelineTableView::selectionCommand(const QModelIndex &index,
                                                                        const QEvent *event) const {
    return gatedSelectionCommand(QTableView::selectionCommand(index, event), index, m_gate);
}

} // namespace Vandra

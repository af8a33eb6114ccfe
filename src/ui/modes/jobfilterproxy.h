#pragma once

#include "ui/modes/filteranswers.h"

#include <QSortFilterProxyModel>

namespace Vandra {

// The rows of a job model whose jobs pass the filter text, found again only for the rows
// a new text can change: the model underneath keeps every job and is built once per job
// list. A heading (a section of the grid or the tree) is shown while one of its jobs is, and
// counts the jobs shown under it.
class JobFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobFilterProxy)

public:
    explicit JobFilterProxy(QObject *parent = nullptr);

    // Shows the jobs whose text holds text, ignoring case and accents; all for an empty text.
    void setFilterText(const QString &text);
    [[nodiscard]] const QString &filterText() const { return m_answers.text(); }

    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    mutable FilterAnswers m_answers;
};

} // namespace Vandra

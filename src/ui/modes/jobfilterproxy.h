#pragma once

#include "model/job.h"

#include <QHash>
#include <QSortFilterProxyModel>

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
    [[nodiscard]] const QString &filterText() const { return m_text; }

    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;

protected:
    [[nodiscard]] bool filterAcceptsRow(int sourceRow,
                                        const QModelIndex &sourceParent) const override;

private:
    // How the new text relates to the one before: holding it, a job that failed then fails
    // now; held by it, a job that passed then passes now. Either spares reading those jobs'
    // texts again.
    enum class Change { other, narrower, wider };

    QString m_text;
    QString m_folded;
    Change m_change = Change::other;
    // Which jobs passed the text before and pass the text now, as far as they were asked
    // about; a job's text stays as it is while its record is in the list.
    QHash<const Job *, bool> m_before;
    mutable QHash<const Job *, bool> m_now;
};

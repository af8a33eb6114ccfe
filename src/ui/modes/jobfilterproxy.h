#pragma once

#include "model/job.h"

#include <QHash>
#include <QList>
#include <QSortFilterProxyModel>

#include <optional>

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
    // Which jobs passed one text, as far as they were asked about; a job's text stays as it
    // is while its record is in the list.
    struct Answers {
        QString folded;
        QHash<const Job *, bool> passes;
    };
    // How an earlier text relates to the one now. One the text now holds (letters were typed
    // since): a job that failed it fails now. One that holds the text now (letters were taken
    // away): a job that passed it passes now. Either spares reading the job's text.
    enum class Relation { other, held, holding };

    [[nodiscard]] std::optional<bool> knownAnswer(const Job *job) const;

    QString m_text;
    // The answers for the text now first, then those of the texts typed before it.
    mutable QList<Answers> m_answers;
    QList<Relation> m_relations;
};

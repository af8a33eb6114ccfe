#pragma once

#include "model/rulerow.h"
#include "model/scheduled.h"

#include <QAbstractListModel>

namespace Vandra {

// The rows of the schedule's rule editor, one per rule: a criteria path and its values.
// The widget shows and edits them; the job writer reads them when the job is saved.
//
// The program fills the rows without marking the job edited (setRows, appendRow,
// removeAllRows); every edit of the user's (adding or removing a row, choosing another
// criterion, typing in a field, picking a time) records a time change on the current job.
// A read-only editor refuses the user's edits.
class RuleEditorModel final : public QAbstractListModel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RuleEditorModel)

public:
    enum Role {
        PathRole = Qt::UserRole + 1, // QVariantList of int: criteria indices from the root
        ValuesRole,                  // QVariantList of QString, RuleTextField or QTime
        KindRole,                    // int: the Scheduled::Kind of the row
    };

    explicit RuleEditorModel(QObject *parent = nullptr);
    ~RuleEditorModel() override;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index,
                                int role = Qt::DisplayRole) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    // The user adds default repeat-interval rows, or removes rows.
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    [[nodiscard]] const RuleRows &rows() const { return m_rows; }

    // Filled by the program.
    void setRows(const RuleRows &rows);
    void appendRow(const RuleRow &row);
    void removeAllRows();

    // Adds one default row of each kind and records their paths, as the When view does when it
    // loads; the rows the user adds later start from the recorded paths.
    void recordDefaultRows();
    [[nodiscard]] const QList<QList<int>> &recordedPaths() const { return m_recordedPaths; }
    // The recorded default path of kind, or the tree's default path before one is recorded.
    [[nodiscard]] QList<int> templatePath(Scheduled::Kind kind) const;

    [[nodiscard]] bool isEditable() const { return m_isEditable; }
    void setEditable(bool editable);

    // The user's edits; false when refused (read-only, or an index or value that does not
    // fit the row).
    bool addRow(Scheduled::Kind kind);
    // Picks child childIndex at level of row's path; the levels below take their first
    // child. Text typed and times picked stay where the new path has the same control.
    bool chooseCriterion(int row, int level, int childIndex);
    // Sets the text field or time picker at column of row.
    bool setValue(int row, int column, const RuleValue &value);

    // The editor the When view shows, whose rows a save writes; nullptr when none is shown.
    [[nodiscard]] static RuleEditorModel *attached();
    void attach();
    void detach();

Q_SIGNALS:
    void editableChanged(bool editable);

private:
    [[nodiscard]] bool isRow(int row) const { return row >= 0 && row < m_rows.size(); }

    RuleRows m_rows;
    // Entry k is the default path of a row of kind k.
    QList<QList<int>> m_recordedPaths;
    bool m_isEditable = true;
};

} // namespace Vandra

#pragma once

#include "model/rulerow.h"
#include "model/scheduled.h"
#include "schedule/criterion.h"

#include <QList>

#include <optional>

namespace Vandra {

class RuleEditorModel;

// Serves the criteria tree to the rule editor and turns schedule rules into its rows.
// A constant table: built on first use and never changed, so one serves the whole process.
//
// The roots follow the order of Scheduled::Kind. Below them, a child's position is the rule
// value it stands for: the unit, the weekday (7 and 8 for the weekday and weekend groups),
// the zero-based day of the month or the zero-based month.
class ScheduledHelper final {
    Q_DISABLE_COPY_MOVE(ScheduledHelper)

public:
    static const ScheduledHelper &shared();

    [[nodiscard]] const QList<CriterionPtr> &criteria() const { return m_criteria; }

    // The tree as the rule editor asks for it; criterion nullptr is the root level.
    [[nodiscard]] qsizetype numberOfChildren(const Criterion *criterion) const;
    [[nodiscard]] CriterionPtr child(qsizetype index, const Criterion *criterion) const;
    [[nodiscard]] RuleValue displayValue(const Criterion &criterion) const;

    // The criteria along path from a root to a leaf, or none when path leaves the tree or
    // stops before a leaf.
    [[nodiscard]] std::optional<QList<CriterionPtr>> criteriaForPath(const QList<int> &path) const;
    // A fresh row of path: each criterion's display value, controls empty or at midnight.
    [[nodiscard]] std::optional<RuleRow> rowForPath(const QList<int> &path) const;
    // The path of kind with the first child at every level.
    [[nodiscard]] QList<int> defaultPath(Scheduled::Kind kind) const;
    // The row that shows rule, or none when a value of the rule lies outside the tree. The
    // rule's values are placed into templatePath, a path of the rule's kind; without one, into
    // defaultPath.
    [[nodiscard]] std::optional<RuleRow> rowForRule(const ScheduledType &rule) const;
    [[nodiscard]] std::optional<RuleRow> rowForRule(const ScheduledType &rule,
                                                    QList<int> templatePath) const;
    // The kind whose root starts path.
    [[nodiscard]] static std::optional<Scheduled::Kind> kindOfPath(const QList<int> &path);

    // Shows the current job's schedule rules in editor, from editor's template paths; empty
    // without a job or rules.
    void fillRuleEditor(RuleEditorModel &editor) const;

    // An edit of the rule editor: the current job, if any, records a time change.
    static void markTimeChanged();

private:
    ScheduledHelper();

    QList<CriterionPtr> m_criteria;
};

} // namespace Vandra

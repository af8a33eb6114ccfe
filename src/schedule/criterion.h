#pragma once

#include "model/rulerow.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace Vandra {

class Criterion;
using CriterionPtr = std::shared_ptr<Criterion>;

// One node of the rule editor's criteria tree: a title, or (in the subclasses) an editable
// control. A row of the editor is a path from a root to a leaf.
class Criterion {
    Q_DISABLE_COPY_MOVE(Criterion)

public:
    explicit Criterion(std::optional<QString> name = std::nullopt,
                       std::optional<QList<CriterionPtr>> children = std::nullopt);
    virtual ~Criterion();

    std::optional<QString> name;

    // An absent list counts as empty and becomes an empty list on first use.
    [[nodiscard]] QList<CriterionPtr> &children();
    [[nodiscard]] qsizetype childCount() const { return m_children ? m_children->size() : 0; }
    // The child at index, or nullptr.
    [[nodiscard]] CriterionPtr child(qsizetype index) const;

    // What the editor shows for the node: its name, or the control of a subclass.
    [[nodiscard]] virtual RuleValue displayValue() const;

private:
    std::optional<QList<CriterionPtr>> m_children;
};

} // namespace Vandra

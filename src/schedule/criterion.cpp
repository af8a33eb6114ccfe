#include "schedule/criterion.h"

#include <utility>

namespace Vandra {

Criterion::Criterion(std::optional<QString> name, std::optional<QList<CriterionPtr>> children)
    : name(std::move(name))
    , m_children(std::move(children)) {}

Criterion::~Criterion() = default;

QList<CriterionPtr> &Criterion::children() {
    if (!m_children)
        m_children = QList<CriterionPtr>();
    return *m_children;
}

CriterionPtr Criterion::child(qsizetype index) const {
    if (!m_children || index < 0 || index >= m_children->size())
        return nullptr;
    return m_children->at(index);
}

RuleValue Criterion::displayValue() const {
    return name.value_or(QString());
}

} // namespace Vandra

#pragma once

#include "schedule/criterion.h"

namespace Vandra {

// The leaf of a repeat-interval row: a text field holding the count of units, empty in a new row.
class RepeatIntervalCriterion final : public Criterion {
public:
    using Criterion::Criterion;

    RuleTextField textField;

    [[nodiscard]] RuleValue displayValue() const override { return textField; }
};

} // namespace Vandra

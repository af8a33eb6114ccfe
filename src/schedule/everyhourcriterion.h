#pragma once

#include "schedule/criterion.h"

namespace Vandra {

// The control of an every-hour row: a text field holding the minute, empty in a new row.
class EveryHourCriterion final : public Criterion {
public:
    using Criterion::Criterion;

    RuleTextField textField;

    [[nodiscard]] RuleValue displayValue() const override { return textField; }
};

} // namespace Vandra

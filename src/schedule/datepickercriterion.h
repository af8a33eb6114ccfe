#pragma once

#include "schedule/criterion.h"

#include <QTime>

namespace Vandra {

// The leaf of a row that runs at a time of day: a time picker (hour and minute), midnight in
// a new row.
class DatePickerCriterion final : public Criterion {
public:
    using Criterion::Criterion;

    QTime datePicker{0, 0};

    [[nodiscard]] RuleValue displayValue() const override { return datePicker; }
};

} // namespace Vandra

#pragma once

#include <QList>
#include <QString>
#include <QTime>

#include <variant>

namespace Vandra {

// One row of the schedule's rule editor, as the writer reads it: the path of criteria
// indices from the root, and the row's values. A value is a title (text), an editable text
// field, or a time picker.
struct RuleTextField {
    QString text;
    friend bool operator==(const RuleTextField &, const RuleTextField &) = default;
};

using RuleValue = std::variant<QString, RuleTextField, QTime>;

struct RuleRow {
    QList<int> path;
    QList<RuleValue> values;

    friend bool operator==(const RuleRow &, const RuleRow &) = default;
};

using RuleRows = QList<RuleRow>;

} // namespace Vandra

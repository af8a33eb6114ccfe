#pragma once

#include <QString>

namespace Vandra {

// The localized standard comparison of labels: case ignored, runs of digits compared by
// value, in every process locale (the C locale included).
namespace LabelCollator {

// Negative, zero or positive, like strcmp.
[[nodiscard]] int compare(const QString &a, const QString &b);
[[nodiscard]] inline bool lessThan(const QString &a, const QString &b) {
    return compare(a, b) < 0;
}

} // namespace LabelCollator

} // namespace Vandra

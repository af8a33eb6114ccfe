#pragma once

#include <QByteArray>
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
// Appends the label's sort key to keys: bytes that compare like the label, byte by byte
// and the shorter first when one is the start of the other. Many labels sort far faster by
// their keys, made once each, than by comparing the labels again and again.
void appendSortKey(const QString &label, QByteArray &keys);

} // namespace LabelCollator

} // namespace Vandra

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringView>

#include <optional>

namespace Vandra {

// Dates as property lists hold them: ISO 8601 text in UTC in XML, seconds since the start of
// 2001 in the binary form.
namespace PlistDate {

// 2001-01-01T00:00:00Z in milliseconds since 1970.
inline constexpr qint64 referenceMsecs = 978307200000;

// "2024-05-06T07:08:09Z", also with fewer fields ("2024-05-06Z") or a fraction of a second.
[[nodiscard]] std::optional<QDateTime> parseXml(QStringView text);
// Whole seconds, as Apple's writer does; none for invalid dates and years outside 1-9999.
[[nodiscard]] std::optional<QByteArray> formatXml(const QDateTime &date);
// Whether the year of a date lies within 1-9999, the years the text form can hold.
[[nodiscard]] bool isWritable(const QDateTime &date);

} // namespace PlistDate

} // namespace Vandra

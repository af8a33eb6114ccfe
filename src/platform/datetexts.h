#pragma once

#include <QDateTime>
#include <QString>
#include <QTimeZone>

namespace Vandra {

// Dates and durations as the timeline shows them, in the user's language (English in the C
// locale), from ICU.
namespace DateTexts {

// The heading of the day on which date falls in zone, as seen at now: the language's word
// for a day near now ("Today", "Tomorrow") when it has one, else the full date
// ("Wednesday, December 9, 2026"). Relative to now rather than to the clock, so that a
// timeline built for a fixed moment reads the same whenever it is shown.
[[nodiscard]] QString dayHeading(const QDateTime &date, const QDateTime &now,
                                 const QTimeZone &zone = QTimeZone::systemTimeZone());
// The time of day of date in zone, short style ("9:30 AM").
[[nodiscard]] QString shortTime(const QDateTime &date,
                                const QTimeZone &zone = QTimeZone::systemTimeZone());
// A number of seconds spelled out in hours, minutes and seconds, leaving out the units that
// are zero ("1 hour, 5 minutes", "10 seconds"); empty for a negative number.
[[nodiscard]] QString duration(qint64 seconds);

} // namespace DateTexts

} // namespace Vandra

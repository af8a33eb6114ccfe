#pragma once

#include <QCalendar>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTime>

namespace Vandra {

namespace Calendar {

// The calendar in which the program builds and reads its dates.
[[nodiscard]] QCalendar gregorian();

} // namespace Calendar

namespace Date {

[[nodiscard]] int hour(QTime time);
[[nodiscard]] int minute(QTime time);
[[nodiscard]] int hour(const QDateTime &dateTime);
[[nodiscard]] int minute(const QDateTime &dateTime);
// The seven weekday names of the user's language, Sunday first.
[[nodiscard]] QStringList weekdays();
// The twelve month names of the user's language, January first.
[[nodiscard]] QStringList months();
// A date and time as the program shows it: the medium date and the short time of the
// user's locale ("Jan 5, 2024, 1:05 PM" in American English), in local time.
[[nodiscard]] QString standardDateFormatter(const QDateTime &dateTime);

} // namespace Date

} // namespace Vandra

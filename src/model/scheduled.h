#pragma once

#include <QList>
#include <QTime>

#include <optional>
#include <variant>

namespace Vandra {

// Schedule rules: what StartInterval and StartCalendarInterval mean, in a form the rule
// editor can show one row each. A rule time carries only an hour and a minute.
namespace Scheduled {

enum class Kind { repeatInterval = 0, everyHour, everyDay, dayOfWeek, dayOfMonth, dayOfYear };
[[nodiscard]] std::optional<Kind> kindFromRaw(qint64 raw);

struct RepeatInterval {
    enum class Unit { seconds = 0, minutes, hours, days };

    Kind kind = Kind::repeatInterval;
    qint64 interval = 0;
    Unit unit = Unit::seconds;

    friend bool operator==(const RepeatInterval &, const RepeatInterval &) = default;
};

struct EveryHour {
    Kind kind = Kind::everyHour;
    qint64 minute = 0;

    friend bool operator==(const EveryHour &, const EveryHour &) = default;
};

struct EveryDay {
    Kind kind = Kind::everyDay;
    QTime time;

    friend bool operator==(const EveryDay &, const EveryDay &) = default;
};

struct DayOfWeek {
    // Days 0-6 are Sunday to Saturday; 7 and 8 stand for the weekday and weekend groups.
    enum Index : qint64 { weekday = 7, weekend = 8 };

    Kind kind = Kind::dayOfWeek;
    qint64 day = 0;
    QTime time;

    friend bool operator==(const DayOfWeek &, const DayOfWeek &) = default;
};

struct DayOfMonth {
    Kind kind = Kind::dayOfMonth;
    qint64 day = 0; // zero-based: 0 is the 1st
    QTime time;

    friend bool operator==(const DayOfMonth &, const DayOfMonth &) = default;
};

struct DayOfYear {
    Kind kind = Kind::dayOfYear;
    qint64 month = 0; // zero-based: 0 is January
    qint64 day = 0;   // zero-based: 0 is the 1st
    QTime time;

    friend bool operator==(const DayOfYear &, const DayOfYear &) = default;
};

} // namespace Scheduled

// One rule of any kind; code that handles a rule tests its type.
using ScheduledType =
    std::variant<Scheduled::RepeatInterval, Scheduled::EveryHour, Scheduled::EveryDay,
                 Scheduled::DayOfWeek, Scheduled::DayOfMonth, Scheduled::DayOfYear>;

[[nodiscard]] Scheduled::Kind scheduledKind(const ScheduledType &rule);

} // namespace Vandra

#include "model/schedulewriter.h"

#include "model/launchdkey.h"
#include "model/schedulerules.h"
#include "support/dates.h"
#include "support/localize.h"

#include <QLocale>
#include <QTime>

#include <cmath>
#include <optional>

namespace Vandra {

namespace {

namespace Key = LaunchdKey::StartCalendarInterval;

// The integer part of a number typed in the user's locale; group separators are ignored.
std::optional<qint64> parsedInteger(QString text) {
    const QLocale locale;
    text.remove(locale.groupSeparator());
    bool ok = false;
    const double number = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double integerPart = std::trunc(number);
    // Beyond the 64-bit range the conversion would be undefined; such a row is not usable.
    if (integerPart < -9223372036854775808.0 || integerPart >= 9223372036854775808.0)
        return std::nullopt;
    return qint64(integerPart);
}

template <typename T> const T *valueAt(const RuleRow &row, qsizetype column) {
    return column < row.values.size() ? std::get_if<T>(&row.values.at(column)) : nullptr;
}

PlistDict timeEntry(const QTime &time) {
    PlistDict entry;
    entry.insert(Key::Minute, PlistValue(qint64(Date::minute(time))));
    entry.insert(Key::Hour, PlistValue(qint64(Date::hour(time))));
    return entry;
}

void appendDayOfWeek(const RuleRow &row, PlistArray &entries) {
    const QString *day = valueAt<QString>(row, 1);
    const QTime *time = valueAt<QTime>(row, 2);
    if (!day || !time || !time->isValid())
        return;
    QList<qint64> weekdays;
    if (*day == Localize::weekdays()) {
        weekdays = Scheduled::weekdayIndexSet();
    } else if (*day == Localize::weekends()) {
        weekdays = Scheduled::weekendIndexSet();
    } else {
        weekdays = {qMax(qint64(Date::weekdays().indexOf(*day)), qint64(0))};
    }
    for (qint64 weekday : weekdays) {
        PlistDict entry = timeEntry(*time);
        entry.insert(Key::Weekday, PlistValue(weekday));
        entries.append(PlistValue(entry));
    }
}

void appendDayOfMonth(const RuleRow &row, PlistArray &entries) {
    const QString *day = valueAt<QString>(row, 1);
    const QTime *time = valueAt<QTime>(row, 2);
    if (!day || !time || !time->isValid())
        return;
    const std::optional<qint64> number = parsedInteger(*day);
    if (!number)
        return;
    PlistDict entry = timeEntry(*time);
    entry.insert(Key::Day, PlistValue(*number));
    entries.append(PlistValue(entry));
}

void appendDayOfYear(const RuleRow &row, PlistArray &entries) {
    const QString *month = valueAt<QString>(row, 1);
    const QString *day = valueAt<QString>(row, 2);
    const QTime *time = valueAt<QTime>(row, 3);
    if (!month || !day || !time || !time->isValid())
        return;
    const std::optional<qint64> number = parsedInteger(*day);
    if (!number)
        return;
    PlistDict entry = timeEntry(*time);
    entry.insert(Key::Day, PlistValue(*number));
    entry.insert(Key::Month,
                 PlistValue(qMax(qint64(Date::months().indexOf(*month)), qint64(0)) + 1));
    entries.append(PlistValue(entry));
}

} // namespace

void writeSchedule(const RuleRows *rows, bool isScheduledEnabled, PlistDict &plist) {
    if (!isScheduledEnabled || !rows) {
        plist.remove(Key::key);
        plist.remove(LaunchdKey::StartInterval);
        return;
    }

    PlistArray entries;
    std::optional<qint64> startInterval;
    for (const RuleRow &row : *rows) {
        const QString *title = valueAt<QString>(row, 0);
        if (!title)
            continue;
        if (*title == Localize::repeatInterval()) {
            const QString *unit = valueAt<QString>(row, 1);
            const RuleTextField *field = valueAt<RuleTextField>(row, 2);
            if (!unit || !field || startInterval)
                continue;
            if (const std::optional<qint64> interval = parsedInteger(field->text))
                startInterval =
                    Scheduled::secondsForInterval(*interval, Scheduled::unitNamed(*unit));
        } else if (*title == Localize::everyHour()) {
            const RuleTextField *field = valueAt<RuleTextField>(row, 1);
            if (!field)
                continue;
            if (const std::optional<qint64> minute = parsedInteger(field->text))
                entries.append(PlistValue(PlistDict{{Key::Minute, PlistValue(*minute)}}));
        } else if (*title == Localize::everyDay()) {
            const QTime *time = valueAt<QTime>(row, 1);
            if (time && time->isValid())
                entries.append(PlistValue(timeEntry(*time)));
        } else if (*title == Localize::dayOfWeek()) {
            appendDayOfWeek(row, entries);
        } else if (*title == Localize::dayOfMonth()) {
            appendDayOfMonth(row, entries);
        } else if (*title == Localize::dayOfYear()) {
            appendDayOfYear(row, entries);
        }
    }

    // Always an array, even of one entry.
    if (entries.isEmpty())
        plist.remove(Key::key);
    else
        plist.insert(Key::key, PlistValue(entries));
    if (startInterval)
        plist.insert(LaunchdKey::StartInterval, PlistValue(*startInterval));
    else
        plist.remove(LaunchdKey::StartInterval);
}

} // namespace Vandra

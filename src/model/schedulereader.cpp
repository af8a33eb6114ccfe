#include "model/schedulereader.h"

#include "model/launchdkey.h"
#include "model/schedulerules.h"

#include <QTime>

#include <optional>

namespace Vandra {

namespace {

namespace Key = LaunchdKey::StartCalendarInterval;

qint64 zeroBasedDay(qint64 day) {
    return day <= 1 ? 0 : qMin(day - 1, qint64(30));
}

qint64 zeroBasedMonth(qint64 month) {
    return month <= 0 ? 0 : qMin(month - 1, qint64(11));
}

bool containsAll(const QList<qint64> &days, const QList<qint64> &group) {
    if (group.isEmpty())
        return false;
    for (qint64 day : group) {
        if (!days.contains(day))
            return false;
    }
    return true;
}

// Replaces the single weekday rules that together make a weekday or weekend group at one
// time by the group's rule. A group folds once per time; the singles left over keep their
// order after the groups.
void foldWeekGroups(const QList<Scheduled::DayOfWeek> &collected, QList<ScheduledType> &rules) {
    QList<Scheduled::DayOfWeek> working = collected;
    auto fold = [&](qint64 group, const QList<qint64> &days, const QTime &time) {
        for (const ScheduledType &rule : rules) {
            const auto *dayOfWeek = std::get_if<Scheduled::DayOfWeek>(&rule);
            if (dayOfWeek && dayOfWeek->day == group && dayOfWeek->time == time)
                return;
        }
        Scheduled::DayOfWeek groupRule;
        groupRule.day = group;
        groupRule.time = time;
        rules.append(groupRule);
        working.removeIf([&](const Scheduled::DayOfWeek &single) {
            return single.time == time && days.contains(single.day);
        });
    };

    for (const Scheduled::DayOfWeek &rule : collected) {
        QList<qint64> daysAtTime;
        for (const Scheduled::DayOfWeek &other : collected) {
            if (other.time == rule.time)
                daysAtTime.append(other.day);
        }
        if (containsAll(daysAtTime, Scheduled::weekdayIndexSet()))
            fold(Scheduled::DayOfWeek::weekday, Scheduled::weekdayIndexSet(), rule.time);
        if (containsAll(daysAtTime, Scheduled::weekendIndexSet()))
            fold(Scheduled::DayOfWeek::weekend, Scheduled::weekendIndexSet(), rule.time);
    }
    for (const Scheduled::DayOfWeek &single : working)
        rules.append(single);
}

} // namespace

QList<ScheduledType> readSchedule(const PlistDict &plist) {
    QList<ScheduledType> rules;
    if (const std::optional<qint64> seconds = plist.value(LaunchdKey::StartInterval).toInteger())
        rules.append(Scheduled::repeatIntervalFromSeconds(*seconds));

    QList<Scheduled::DayOfWeek> daysOfWeek;
    for (const PlistDict &entry : Scheduled::calendarEntries(plist)) {
        const QTime time(int(Scheduled::entryHour(entry)), int(Scheduled::entryMinute(entry)));
        if (!time.isValid())
            continue;
        const std::optional<qint64> month = entry.value(Key::Month).toInteger();
        const std::optional<qint64> day = entry.value(Key::Day).toInteger();
        const std::optional<qint64> weekday = entry.value(Key::Weekday).toInteger();
        if (month && day) {
            Scheduled::DayOfYear rule;
            rule.month = zeroBasedMonth(*month);
            rule.day = zeroBasedDay(*day);
            rule.time = time;
            rules.append(rule);
        } else if (day) {
            Scheduled::DayOfMonth rule;
            rule.day = zeroBasedDay(*day);
            rule.time = time;
            rules.append(rule);
        } else if (weekday) {
            // launchd also takes 7 for Sunday; that and anything out of range reads as Sunday.
            Scheduled::DayOfWeek rule;
            rule.day = *weekday >= 0 && *weekday <= 6 ? *weekday : 0;
            rule.time = time;
            daysOfWeek.append(rule);
        } else if (entry.contains(Key::Hour)) {
            Scheduled::EveryDay rule;
            rule.time = time;
            rules.append(rule);
        } else if (entry.contains(Key::Minute)) {
            Scheduled::EveryHour rule;
            rule.minute = time.minute();
            rules.append(rule);
        }
    }
    foldWeekGroups(daysOfWeek, rules);
    return rules;
}

} // namespace Vandra

#include "model/scheduleexactness.h"

#include "model/launchdkey.h"
#include "model/schedulereader.h"
#include "model/schedulerules.h"

#include <QCoreApplication>

#include <optional>

namespace Vandra {

namespace {

namespace Key = LaunchdKey::StartCalendarInterval;

class Text {
    Q_DECLARE_TR_FUNCTIONS(ScheduleExactness)
};

PlistDict timeEntry(const QTime &time) {
    return PlistDict{{Key::Minute, PlistValue(qint64(time.minute()))},
                     {Key::Hour, PlistValue(qint64(time.hour()))}};
}

// The calendar entry that the row showing rule writes; none for a repeat interval.
std::optional<PlistDict> entryOf(const ScheduledType &rule) {
    if (const auto *everyHour = std::get_if<Scheduled::EveryHour>(&rule))
        return PlistDict{{Key::Minute, PlistValue(everyHour->minute)}};
    if (const auto *everyDay = std::get_if<Scheduled::EveryDay>(&rule))
        return timeEntry(everyDay->time);
    if (const auto *dayOfWeek = std::get_if<Scheduled::DayOfWeek>(&rule)) {
        PlistDict entry = timeEntry(dayOfWeek->time);
        entry.insert(Key::Weekday, PlistValue(dayOfWeek->day));
        return entry;
    }
    if (const auto *dayOfMonth = std::get_if<Scheduled::DayOfMonth>(&rule)) {
        PlistDict entry = timeEntry(dayOfMonth->time);
        entry.insert(Key::Day, PlistValue(dayOfMonth->day + 1));
        return entry;
    }
    if (const auto *dayOfYear = std::get_if<Scheduled::DayOfYear>(&rule)) {
        PlistDict entry = timeEntry(dayOfYear->time);
        entry.insert(Key::Day, PlistValue(dayOfYear->day + 1));
        entry.insert(Key::Month, PlistValue(dayOfYear->month + 1));
        return entry;
    }
    return std::nullopt;
}

QString entryText(const PlistValue &entry) {
    const PlistDict *dict = entry.dict();
    if (dict && dict->isEmpty())
        return Text::tr("{} (every minute)");
    return entry.debugText();
}

// launchd reads Weekday 7 as Sunday, as the rows write it.
PlistDict withSundayAsZero(PlistDict entry) {
    if (entry.value(Key::Weekday).toInteger() == 7)
        entry.insert(Key::Weekday, PlistValue(qint64(0)));
    return entry;
}

void checkCalendarEntry(const PlistValue &value, QStringList &lines) {
    const PlistDict *entry = value.dict();
    if (!entry) {
        lines.append(Text::tr("Calendar entry %1 will be dropped").arg(value.debugText()));
        return;
    }
    const PlistDict single{{Key::key, value}};
    const QList<ScheduledType> rules = readSchedule(single);
    const std::optional<PlistDict> rebuilt =
        rules.isEmpty() ? std::nullopt : entryOf(rules.first());
    if (!rebuilt) {
        lines.append(Text::tr("Calendar entry %1 will be dropped").arg(entryText(value)));
        return;
    }
    if (*rebuilt == withSundayAsZero(*entry))
        return;
    lines.append(Text::tr("Calendar entry %1 will become %2")
                     .arg(entryText(value), PlistValue(*rebuilt).debugText()));
}

void checkStartInterval(const PlistValue &value, QStringList &lines) {
    if (value.isNone())
        return;
    const std::optional<qint64> seconds = value.toInteger();
    if (!seconds) {
        lines.append(Text::tr("StartInterval %1 will be dropped").arg(value.debugText()));
        return;
    }
    const Scheduled::RepeatInterval rule = Scheduled::repeatIntervalFromSeconds(*seconds);
    const qint64 rebuilt = Scheduled::secondsForInterval(rule.interval, rule.unit);
    if (rebuilt != *seconds) {
        lines.append(Text::tr("StartInterval %1 seconds will become %2 seconds")
                         .arg(QString::number(*seconds), QString::number(rebuilt)));
    }
}

} // namespace

namespace ScheduleExactness {

QStringList inexactEntries(const PlistDict &plist) {
    QStringList lines;
    checkStartInterval(plist.value(LaunchdKey::StartInterval), lines);
    const PlistValue calendar = plist.value(Key::key);
    if (calendar.isDict()) {
        checkCalendarEntry(calendar, lines);
    } else if (const PlistArray *entries = calendar.array()) {
        for (const PlistValue &entry : *entries)
            checkCalendarEntry(entry, lines);
    } else if (!calendar.isNone()) {
        lines.append(
            Text::tr("StartCalendarInterval %1 will be dropped").arg(calendar.debugText()));
    }
    return lines;
}

} // namespace ScheduleExactness

} // namespace Vandra

#include "model/schedulerules.h"

#include "model/launchdkey.h"
#include "support/localize.h"

#include <QLocale>

#include <unicode/calendar.h>
#include <unicode/locid.h>

#include <limits>
#include <memory>
#include <optional>

namespace Vandra {

namespace Scheduled {

std::optional<Kind> kindFromRaw(qint64 raw) {
    if (raw < 0 || raw > qint64(Kind::dayOfYear))
        return std::nullopt;
    return Kind(raw);
}

RepeatInterval repeatIntervalFromSeconds(qint64 seconds) {
    // The quotient is exact: a multiple divides without remainder, and integer division keeps
    // intervals beyond the precision of a float (decades of minutes) from drifting.
    RepeatInterval rule;
    if (seconds % 86400 == 0) {
        rule.unit = RepeatInterval::Unit::days;
        rule.interval = seconds / 86400;
    } else if (seconds % 3600 == 0) {
        rule.unit = RepeatInterval::Unit::hours;
        rule.interval = seconds / 3600;
    } else if (seconds % 60 == 0) {
        rule.unit = RepeatInterval::Unit::minutes;
        rule.interval = seconds / 60;
    } else {
        rule.unit = RepeatInterval::Unit::seconds;
        rule.interval = seconds;
    }
    return rule;
}

RepeatInterval::Unit unitNamed(const QString &text) {
    if (text == Localize::Lowercase::minutes())
        return RepeatInterval::Unit::minutes;
    if (text == Localize::Lowercase::hours())
        return RepeatInterval::Unit::hours;
    if (text == Localize::Lowercase::days())
        return RepeatInterval::Unit::days;
    return RepeatInterval::Unit::seconds;
}

QString unitTitle(RepeatInterval::Unit unit) {
    switch (unit) {
    case RepeatInterval::Unit::seconds:
        return Localize::Lowercase::seconds();
    case RepeatInterval::Unit::minutes:
        return Localize::Lowercase::minutes();
    case RepeatInterval::Unit::hours:
        return Localize::Lowercase::hours();
    case RepeatInterval::Unit::days:
        return Localize::Lowercase::days();
    }
    return Localize::Lowercase::seconds();
}

qint64 secondsForInterval(qint64 interval, RepeatInterval::Unit unit) {
    static constexpr qint64 shortest = 10;
    qint64 factor = 1;
    switch (unit) {
    case RepeatInterval::Unit::seconds:
        break;
    case RepeatInterval::Unit::minutes:
        factor = 60;
        break;
    case RepeatInterval::Unit::hours:
        factor = 3600;
        break;
    case RepeatInterval::Unit::days:
        factor = 86400;
        break;
    }
    qint64 seconds = 0;
    if (qMulOverflow(interval, factor, &seconds))
        return interval > 0 ? std::numeric_limits<qint64>::max() : shortest;
    return qMax(seconds, shortest);
}

QList<PlistDict> calendarEntries(const PlistDict &plist) {
    const PlistValue *value = plist.find(LaunchdKey::StartCalendarInterval::key);
    if (!value)
        return {};
    if (const PlistDict *entry = value->dict())
        return {*entry};
    QList<PlistDict> entries;
    if (const PlistArray *array = value->array()) {
        // An element of another type is skipped rather than costing the whole schedule,
        // which the next save would otherwise remove from the file.
        entries.reserve(array->size());
        for (const PlistValue &element : *array) {
            if (const PlistDict *entry = element.dict())
                entries.append(*entry);
        }
    }
    return entries;
}

namespace {

qint64 entryValue(const PlistDict &entry, const QString &key, qint64 end) {
    const std::optional<qint64> value = entry.value(key).toInteger();
    return value && *value >= 0 && *value < end ? *value : 0;
}

struct WeekSets {
    QList<qint64> weekend;
    QList<qint64> weekday;
};

std::optional<WeekSets> &storedWeekSets() {
    static std::optional<WeekSets> sets;
    return sets;
}

// The days that the locale's calendar counts as weekend at noon, in launchd numbering.
QList<qint64> weekendOfLocale(const QLocale &locale) {
    const QList<qint64> saturdaySunday{0, 6};
    if (locale.language() == QLocale::C)
        return saturdaySunday;

    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale icuLocale(locale.name().toLatin1().constData());
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(icuLocale, status));
    if (U_FAILURE(status) || !calendar)
        return saturdaySunday;

    static constexpr int32_t noon = 12 * 60 * 60 * 1000;
    QList<qint64> weekend;
    for (int day = UCAL_SUNDAY; day <= UCAL_SATURDAY; ++day) {
        const auto weekday = UCalendarDaysOfWeek(day);
        status = U_ZERO_ERROR;
        const UCalendarWeekdayType type = calendar->getDayOfWeekType(weekday, status);
        if (U_FAILURE(status))
            return saturdaySunday;
        bool isWeekendAtNoon = false;
        switch (type) {
        case UCAL_WEEKDAY:
            break;
        case UCAL_WEEKEND:
            isWeekendAtNoon = true;
            break;
        case UCAL_WEEKEND_ONSET:
        case UCAL_WEEKEND_CEASE: {
            const int32_t transition = calendar->getWeekendTransition(weekday, status);
            if (U_FAILURE(status))
                return saturdaySunday;
            isWeekendAtNoon = type == UCAL_WEEKEND_ONSET ? noon >= transition : noon < transition;
            break;
        }
        default:
            break;
        }
        if (isWeekendAtNoon)
            weekend.append(day - UCAL_SUNDAY);
    }
    // A weekend of no day, or of every day, would make one of the groups meaningless.
    if (weekend.isEmpty() || weekend.size() == 7)
        return saturdaySunday;
    return weekend;
}

const WeekSets &weekSets() {
    std::optional<WeekSets> &sets = storedWeekSets();
    if (!sets) {
        WeekSets computed;
        computed.weekend = weekendOfLocale(QLocale());
        for (qint64 day = 0; day < 7; ++day) {
            if (!computed.weekend.contains(day))
                computed.weekday.append(day);
        }
        sets = computed;
    }
    return *sets;
}

} // namespace

qint64 entryHour(const PlistDict &entry) {
    return entryValue(entry, LaunchdKey::StartCalendarInterval::Hour, 24);
}

qint64 entryMinute(const PlistDict &entry) {
    return entryValue(entry, LaunchdKey::StartCalendarInterval::Minute, 60);
}

const QList<qint64> &weekendIndexSet() {
    return weekSets().weekend;
}

const QList<qint64> &weekdayIndexSet() {
    return weekSets().weekday;
}

void resetWeekSetsForTesting() {
    storedWeekSets().reset();
}

} // namespace Scheduled

Scheduled::Kind scheduledKind(const ScheduledType &rule) {
    return std::visit([](const auto &concrete) { return concrete.kind; }, rule);
}

} // namespace Vandra

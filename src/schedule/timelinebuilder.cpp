#include "schedule/timelinebuilder.h"

#include "model/launchdkey.h"
#include "model/schedulerules.h"
#include "platform/datetexts.h"
#include "support/const.h"
#include "support/localize.h"
#include "support/text.h"

#include <algorithm>
#include <variant>

namespace Vandra {

namespace {

int clamped(qint64 value, int low, int high) {
    return int(std::clamp<qint64>(value, low, high));
}

// Local clocks differ from UTC by at most 14 hours, so the offsets in force 15 hours either
// side of a local time, read as UTC, include every offset under which that time can occur.
constexpr qint64 offsetReach = 15 * 3600;

} // namespace

TimelineBuilder::TimelineBuilder(const QDateTime &now, const QTimeZone &zone)
    : m_now(now.toTimeZone(zone))
    , m_zone(zone) {
    const QDateTime end = m_now.addMonths(1);
    if (end.isValid())
        m_end = end;
}

std::optional<QList<Timeline>> TimelineBuilder::buildTimeline(const QList<JobPtr> &jobs) {
    if (!m_end)
        return std::nullopt;
    m_occurrences.clear();
    m_intervals.clear();
    for (const JobPtr &job : jobs) {
        if (job && job->plist && job->url)
            addJobOccurrences(*job);
    }
    return rows();
}

void TimelineBuilder::addJobOccurrences(Job &job) {
    const QString &name = job.originalLabel;
    const bool isEnabled = job.isEnabled();

    if (job.scheduled) {
        for (const ScheduledType &rule : *job.scheduled) {
            const auto *repeat = std::get_if<Scheduled::RepeatInterval>(&rule);
            if (!repeat)
                continue;
            const QString text =
                DateTexts::duration(Scheduled::secondsForInterval(repeat->interval, repeat->unit));
            if (text.isEmpty())
                continue;
            m_intervals.append({TimelineKind::interval, m_now,
                                Text::bidirectionalString({name, text}, Const::separator),
                                isEnabled, job.url, std::nullopt});
        }
    }

    if (!job.plist || !m_end)
        return;
    for (const PlistDict &entry : Scheduled::calendarEntries(*job.plist)) {
        const QList<CalendarMatch> matches = calendarMatches(entry);
        // An entry without a minute starts the job every minute of the hours it names: one
        // row for each such hour, at its first start, keeps a month of them to about 750 rows
        // instead of over 44 000.
        const bool isEveryMinute = !matches.constFirst().minute;
        const QString rowName =
            isEveryMinute ? Text::bidirectionalString({name, Localize::text("every minute")},
                                                      Const::separator)
                          : name;
        QList<QDateTime> dates;
        for (const CalendarMatch &match : matches)
            dates += matchingDates(match, m_now, *m_end, m_zone,
                                   isEveryMinute ? Starts::firstOfEachHour : Starts::every);
        if (matches.size() > 1) {
            // A day that is both the day of the month and the weekday starts the job once.
            std::sort(dates.begin(), dates.end());
            dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
        }
        for (const QDateTime &date : std::as_const(dates))
            m_occurrences.append(
                {TimelineKind::time, date, rowName, isEnabled, job.url, std::nullopt});
    }
}

QList<Timeline> TimelineBuilder::rows() const {
    QList<Timeline> occurrences = m_occurrences;
    std::stable_sort(occurrences.begin(), occurrences.end(),
                     [](const Timeline &a, const Timeline &b) { return a.date < b.date; });

    QList<Timeline> result;
    result.reserve(occurrences.size() + m_intervals.size() + 32);
    if (!m_intervals.isEmpty()) {
        result.append({TimelineKind::group, m_now, Localize::repeatInterval(), true, std::nullopt,
                       std::nullopt});
        result.append(m_intervals);
    }
    QDate previousDay;
    for (const Timeline &occurrence : std::as_const(occurrences)) {
        const QDate day = occurrence.date.toTimeZone(m_zone).date();
        if (day != previousDay) {
            result.append({TimelineKind::group, m_now,
                           DateTexts::dayHeading(occurrence.date, m_now, m_zone), true,
                           std::nullopt, std::nullopt});
            previousDay = day;
        }
        result.append(occurrence);
    }
    return result;
}

QList<CalendarMatch> TimelineBuilder::calendarMatches(const PlistDict &entry) {
    namespace Key = LaunchdKey::StartCalendarInterval;
    // The same reading as the units generated for systemd, so both agree on every start.
    const auto field = [&entry](const QString &key, int low, int high,
                                bool clamps) -> std::optional<int> {
        const PlistValue *value = entry.find(key);
        if (!value)
            return std::nullopt;
        const auto number = value->toInteger();
        if (number && *number >= low && *number <= high)
            return int(*number);
        return number && clamps ? clamped(*number, low, high) : low;
    };
    CalendarMatch base;
    base.month = field(Key::Month, 1, 12, true);
    base.hour = field(Key::Hour, 0, 23, false);
    base.minute = field(Key::Minute, 0, 59, false);
    const std::optional<int> day = field(Key::Day, 1, 31, true);

    QList<CalendarMatch> matches;
    if (const PlistValue *weekday = entry.find(Key::Weekday)) {
        const auto number = weekday->toInteger();
        // launchd counts 0 = Sunday (7 too); anything out of range is taken as Sunday.
        CalendarMatch match = base;
        match.weekday = number && *number >= 0 && *number <= 7 ? int(*number % 7) + 1 : 1;
        matches.append(match);
        if (!day)
            return matches;
    }
    base.day = day;
    matches.append(base);
    return matches;
}

QList<QDateTime> TimelineBuilder::matchingDates(const CalendarMatch &match, const QDateTime &after,
                                                const QDateTime &end, const QTimeZone &zone,
                                                Starts starts) {
    QList<QDateTime> dates;
    const QDate last = end.toTimeZone(zone).date();
    for (QDate day = after.toTimeZone(zone).date(); day.isValid() && day <= last;
         day = day.addDays(1)) {
        if (match.month && day.month() != *match.month)
            continue;
        if (match.day && day.day() != *match.day)
            continue;
        if (match.weekday && day.dayOfWeek() % 7 + 1 != *match.weekday)
            continue;
        for (int hour = match.hour.value_or(0); hour <= match.hour.value_or(23); ++hour) {
            for (int minute = match.minute.value_or(0); minute <= match.minute.value_or(59);
                 ++minute) {
                const std::optional<QDateTime> moment = firstMoment(day, QTime(hour, minute), zone);
                if (!moment || *moment <= after)
                    continue;
                // Moments come out ascending, so the first one past the end closes the list.
                if (*moment >= end)
                    return dates;
                dates.append(*moment);
                if (starts == Starts::firstOfEachHour)
                    break;
            }
        }
    }
    return dates;
}

std::optional<QDateTime> TimelineBuilder::firstMoment(const QDate &date, const QTime &time,
                                                      const QTimeZone &zone) {
    const std::optional<qint64> second = firstSecond(date, time, zone);
    if (!second)
        return std::nullopt;
    return QDateTime::fromSecsSinceEpoch(*second, zone);
}

std::optional<qint64> TimelineBuilder::firstSecond(const QDate &date, const QTime &time,
                                                   const QTimeZone &zone) {
    const QDateTime asUtc(date, time, QTimeZone::utc());
    if (!asUtc.isValid())
        return std::nullopt;
    const qint64 local = asUtc.toSecsSinceEpoch();
    std::optional<qint64> first;
    for (const qint64 probe : {local - offsetReach, local, local + offsetReach}) {
        const int offset =
            zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(probe, QTimeZone::utc()));
        const qint64 candidate = local - offset;
        // The candidate is a real moment of that local time only if its own offset agrees.
        if (zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(candidate, QTimeZone::utc())) !=
            offset)
            continue;
        if (!first || candidate < *first)
            first = candidate;
    }
    return first;
}

} // namespace Vandra

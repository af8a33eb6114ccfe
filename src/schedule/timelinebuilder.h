#pragma once

#include "model/job.h"
#include "schedule/timeline.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

#include <optional>

namespace Vandra {

// The calendar fields a StartCalendarInterval entry asks for; an unset field matches any
// value, as launchd reads a missing key. The weekday counts 1 = Sunday to 7 = Saturday.
struct CalendarMatch {
    std::optional<int> month;
    std::optional<int> day;
    std::optional<int> weekday;
    std::optional<int> hour;
    std::optional<int> minute;

    friend bool operator==(const CalendarMatch &, const CalendarMatch &) = default;
};

// Works out when jobs run, from a moment up to one calendar month later, in a time zone
// (the user's unless told). The moment is given, so a timeline can be built for any time.
class TimelineBuilder final {
public:
    explicit TimelineBuilder(const QDateTime &now,
                             const QTimeZone &zone = QTimeZone::systemTimeZone());

    [[nodiscard]] const QDateTime &now() const { return m_now; }
    // One calendar month after now in the zone, or none when that date cannot be formed.
    [[nodiscard]] const std::optional<QDateTime> &horizon() const { return m_end; }

    // The rows for jobs, in their order: the interval block first, then every calendar start
    // up to the horizon, in time order under a heading per day. None without a horizon.
    [[nodiscard]] std::optional<QList<Timeline>> buildTimeline(const QList<JobPtr> &jobs);

    // Collects a job's interval rows and calendar starts; builds on earlier calls.
    void addJobOccurrences(Job &job);
    // The rows collected so far, headings added.
    [[nodiscard]] QList<Timeline> rows() const;

    // When an entry starts a job: one match, or two when it names both a day of the month
    // and a weekday, each of which starts it on its own (as in cron). A missing key matches
    // every value, so {} starts the job every minute. A value out of range is clamped (Month,
    // Day) or taken as the first value (Hour, Minute); a weekday out of range is Sunday.
    [[nodiscard]] static QList<CalendarMatch> calendarMatches(const PlistDict &entry);

    enum class Starts {
        every,
        // Only the first start of each hour: a job that starts every minute of an hour is
        // one row, not sixty.
        firstOfEachHour,
    };
    // Every moment after `after` and before `end` whose local date and time in zone match
    // exactly, ascending. A local time that occurs twice on a day the clocks go back counts
    // once, at its first occurrence; one skipped when they go forward does not occur.
    [[nodiscard]] static QList<QDateTime> matchingDates(const CalendarMatch &match,
                                                        const QDateTime &after,
                                                        const QDateTime &end, const QTimeZone &zone,
                                                        Starts starts = Starts::every);
    // The first moment at which the clock of zone shows time on date, or none.
    [[nodiscard]] static std::optional<QDateTime> firstMoment(const QDate &date, const QTime &time,
                                                              const QTimeZone &zone);
    // The same moment in seconds since the epoch.
    [[nodiscard]] static std::optional<qint64> firstSecond(const QDate &date, const QTime &time,
                                                           const QTimeZone &zone);

private:
    QDateTime m_now;
    QTimeZone m_zone;
    std::optional<QDateTime> m_end;
    QList<Timeline> m_occurrences;
    QList<Timeline> m_intervals;
};

} // namespace Vandra

#pragma once

#include "model/job.h"
#include "schedule/timeline.h"
#include "schedule/timelineday.h"
#include "schedule/timelinejobs.h"

#include <QDateTime>
#include <QList>
#include <QTimeZone>

#include <optional>
#include <vector>

namespace Vandra {

// The timeline of upcoming runs, made a row at a time. It keeps the jobs' calendar entries and
// how many starts each day holds, and makes a row only when asked, so what it holds grows with
// the jobs, not with the rows of the period. Its rows are those of TimelineBuilder, in the
// same order: the interval block, then every start up to the end, in time order under a
// heading per day, starts at the same moment in the order of their jobs and entries.
class VirtualTimeline final {
public:
    // From now until one calendar month later in zone. Without such a date it has no rows
    // and is not valid.
    explicit VirtualTimeline(const QList<JobPtr> &jobs, const QDateTime &now,
                             const QTimeZone &zone = QTimeZone::systemTimeZone());
    // From now until end, exclusive.
    VirtualTimeline(const QList<JobPtr> &jobs, const QDateTime &now, const QDateTime &end,
                    const QTimeZone &zone = QTimeZone::systemTimeZone());
    // How the starts are counted: per day, or per job and day as well, so that the timeline
    // of a part of the jobs (a filter's) is counted by adding up what its jobs had here.
    enum class Counts { perDay, perJob };
    // The same, from jobs already read.
    VirtualTimeline(TimelineJobs jobs, const QDateTime &now, const QTimeZone &zone,
                    Counts counts = Counts::perDay);
    VirtualTimeline(TimelineJobs jobs, const QDateTime &now, const QDateTime &end,
                    const QTimeZone &zone, Counts counts = Counts::perDay);

    // The timeline of part of its jobs over the same period, part made by jobs().subset().
    [[nodiscard]] VirtualTimeline part(TimelineJobs part) const;
    // Whether a timeline of a month from now would hold the same starts: they come at whole
    // minutes, so one made within the same minute does, unless a whole minute lies between
    // the two ends.
    [[nodiscard]] bool hasStartsOfMonthFrom(const QDateTime &now) const;
    [[nodiscard]] const TimelineJobs &jobs() const { return m_jobs; }

    [[nodiscard]] bool isValid() const { return m_end.has_value(); }
    [[nodiscard]] const QDateTime &now() const { return m_now; }
    [[nodiscard]] const std::optional<QDateTime> &end() const { return m_end; }
    [[nodiscard]] const QTimeZone &zone() const { return m_zone; }

    [[nodiscard]] qint64 rowCount() const { return m_rowCount; }
    // The kind of a row, known without making it.
    [[nodiscard]] TimelineKind kindAt(qint64 index) const;
    // The rows of the headings, ascending.
    [[nodiscard]] QList<qint64> headingRows() const;
    // Row index, 0 <= index < rowCount().
    [[nodiscard]] Timeline row(qint64 index);
    // The first start or interval row of a job file; -1 if none.
    [[nodiscard]] qint64 firstRowOfUrl(const QString &url);

    // The bytes it holds beyond the jobs' own records: their entries, the duration texts and
    // the indexes of the days last asked for.
    [[nodiscard]] qsizetype heldBytes() const;

private:
    using Entry = TimelineJobs::Entry;

    struct Day {
        TimelineDay clock;
        int month = 0;
        int dayOfMonth = 0;
        int weekday = 0;
        // Every minute of the day comes once, after now and before the end.
        bool isInside = false;
        qint64 count = 0;    // starts on the day
        qint64 firstRow = 0; // the row of its heading
    };
    // The starts of a day in row order: how many come before each minute, and their entries.
    struct DayIndex {
        int day = -1;
        std::vector<qint64> before;
        std::vector<int> entries;
    };

    VirtualTimeline() = default;
    void addDays();
    // Counts the starts of each day and lays out the rows; jobs taken from whole add up
    // their counts there when it kept them.
    void countStarts(const VirtualTimeline *whole);
    [[nodiscard]] bool startsOn(const Entry &entry, const Day &day) const;
    // The minute of the day at which entry starts the job in that hour; -1 for none.
    [[nodiscard]] int minuteOf(const Entry &entry, const Day &day, int hour) const;
    [[nodiscard]] qint64 countOn(const Entry &entry, const Day &day) const;
    // Calls f(minute) for every start of entry on day, ascending.
    template <typename F> void forEachStart(const Entry &entry, const Day &day, F &&f) const;
    [[nodiscard]] const DayIndex &dayIndex(int day);
    [[nodiscard]] int dayOfRow(qint64 index) const;
    [[nodiscard]] qint64 intervalBlockSize() const;
    [[nodiscard]] Timeline intervalRow(qsizetype interval);

    QDateTime m_now;
    QTimeZone m_zone;
    std::optional<QDateTime> m_end;
    qint64 m_nowMs = 0;
    qint64 m_endMs = 0;
    TimelineJobs m_jobs;
    QHash<qint64, QString> m_durations; // the duration texts made so far
    QList<Day> m_days;
    QList<int> m_shownDays; // the days with starts, ascending
    bool m_keepsJobCounts = false;
    std::vector<qint32> m_jobCounts; // per job, then per day, when kept
    qint64 m_rowCount = 0;
    std::vector<DayIndex> m_dayIndexes; // the last few asked for, the latest at the end
};

} // namespace Vandra

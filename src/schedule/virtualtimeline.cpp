#include "schedule/virtualtimeline.h"

#include "platform/datetexts.h"
#include "support/const.h"
#include "support/localize.h"
#include "support/text.h"

#include <algorithm>

namespace Vandra {

namespace {

constexpr qint64 msPerMinute = 60 * 1000;
constexpr qint64 msPerHour = 60 * msPerMinute;
constexpr int hoursPerDay = 24;
// Days asked for one after the other (scrolling, printing) reuse the index of their day.
constexpr size_t keptDayIndexes = 3;

} // namespace

VirtualTimeline::VirtualTimeline(const QList<JobPtr> &jobs, const QDateTime &now,
                                 const QTimeZone &zone)
    : VirtualTimeline(TimelineJobs(jobs), now, zone) {}

VirtualTimeline::VirtualTimeline(const QList<JobPtr> &jobs, const QDateTime &now,
                                 const QDateTime &end, const QTimeZone &zone)
    : VirtualTimeline(TimelineJobs(jobs), now, end, zone) {}

VirtualTimeline::VirtualTimeline(TimelineJobs jobs, const QDateTime &now, const QTimeZone &zone,
                                 Counts counts)
    : VirtualTimeline(std::move(jobs), now, now.toTimeZone(zone).addMonths(1), zone, counts) {}

VirtualTimeline::VirtualTimeline(TimelineJobs jobs, const QDateTime &now, const QDateTime &end,
                                 const QTimeZone &zone, Counts counts)
    : m_now(now.toTimeZone(zone))
    , m_zone(zone)
    , m_keepsJobCounts(counts == Counts::perJob) {
    if (!end.isValid())
        return;
    m_end = end.toTimeZone(zone);
    m_nowMs = m_now.toMSecsSinceEpoch();
    m_endMs = m_end->toMSecsSinceEpoch();
    m_jobs = std::move(jobs);
    addDays();
    countStarts(nullptr);
}

VirtualTimeline VirtualTimeline::part(TimelineJobs part) const {
    VirtualTimeline result;
    result.m_now = m_now;
    result.m_zone = m_zone;
    result.m_end = m_end;
    result.m_nowMs = m_nowMs;
    result.m_endMs = m_endMs;
    result.m_jobs = std::move(part);
    result.m_durations = m_durations;
    if (!m_end)
        return result;
    result.m_days = m_days;
    for (Day &day : result.m_days) {
        day.count = 0;
        day.firstRow = 0;
    }
    result.countStarts(this);
    return result;
}

bool VirtualTimeline::hasStartsOfMonthFrom(const QDateTime &now) const {
    if (!m_end)
        return false;
    const QDateTime from = now.toTimeZone(m_zone);
    const QDateTime end = from.addMonths(1);
    if (!end.isValid())
        return false;
    // The first start after a moment is at the whole minute after it; the last one before an
    // end at the whole minute before it.
    const auto minuteAfter = [](qint64 ms) { return ms / msPerMinute + 1; };
    const auto minuteBefore = [](qint64 ms) {
        return ms / msPerMinute - (ms % msPerMinute == 0 ? 1 : 0);
    };
    return minuteAfter(from.toMSecsSinceEpoch()) == minuteAfter(m_nowMs) &&
           minuteBefore(end.toMSecsSinceEpoch()) == minuteBefore(m_endMs);
}

void VirtualTimeline::addDays() {
    const QDate last = m_end->date();
    for (QDate date = m_now.date(); date.isValid() && date <= last; date = date.addDays(1)) {
        Day day{TimelineDay(date, m_zone), date.month(), date.day(), date.dayOfWeek() % 7 + 1};
        const qint64 lastMinute =
            day.clock.start() + (TimelineDay::minutesPerDay - 1) * msPerMinute;
        day.isInside = day.clock.isPlain() && day.clock.start() > m_nowMs && lastMinute < m_endMs;
        m_days.append(day);
    }
}

void VirtualTimeline::countStarts(const VirtualTimeline *whole) {
    const qsizetype days = m_days.size();
    const QList<TimelineJobs::JobRow> &jobs = m_jobs.jobs();
    const QList<Entry> &entries = m_jobs.entries();
    const bool canAdd = whole && whole->m_keepsJobCounts;
    if (m_keepsJobCounts)
        m_jobCounts.assign(size_t(jobs.size() * days), 0);
    for (qsizetype job = 0; job < jobs.size(); ++job) {
        const TimelineJobs::JobRow &row = jobs.at(job);
        const qint32 *counted =
            canAdd && row.source >= 0 ? whole->m_jobCounts.data() + row.source * days : nullptr;
        for (qsizetype index = 0; index < days; ++index) {
            Day &day = m_days[index];
            qint64 count = 0;
            if (counted) {
                count = counted[index];
            } else {
                for (int entry = row.firstEntry; entry < row.endEntry; ++entry)
                    count += countOn(entries.at(entry), day);
            }
            day.count += count;
            // At most 24 starts of an entry a day: a job needs millions of entries to overflow.
            if (m_keepsJobCounts)
                m_jobCounts[size_t(job * days + index)] = qint32(count);
        }
    }

    m_rowCount = intervalBlockSize();
    for (int index = 0; index < m_days.size(); ++index) {
        Day &day = m_days[index];
        if (day.count == 0)
            continue;
        day.firstRow = m_rowCount;
        m_rowCount += 1 + day.count;
        m_shownDays.append(index);
    }
}

bool VirtualTimeline::startsOn(const Entry &entry, const Day &day) const {
    if (entry.month >= 0 && entry.month != day.month)
        return false;
    const bool isDay = entry.day >= 0 && entry.day == day.dayOfMonth;
    const bool isWeekday = entry.weekday >= 0 && entry.weekday == day.weekday;
    if (entry.day >= 0 && entry.weekday >= 0)
        return isDay || isWeekday;
    if (entry.day >= 0)
        return isDay;
    if (entry.weekday >= 0)
        return isWeekday;
    return true;
}

int VirtualTimeline::minuteOf(const Entry &entry, const Day &day, int hour) const {
    if (entry.minute >= 0) {
        const int minute = hour * 60 + entry.minute;
        if (day.isInside)
            return minute;
        const std::optional<qint64> moment = day.clock.moment(minute);
        return moment && *moment > m_nowMs && *moment < m_endMs ? minute : -1;
    }
    // The first start of the hour: its first minute that comes after now.
    if (day.clock.isPlain()) {
        const qint64 hourStart = day.clock.start() + hour * msPerHour;
        const qint64 minute = hourStart > m_nowMs ? 0 : (m_nowMs - hourStart) / msPerMinute + 1;
        if (minute >= 60 || hourStart + minute * msPerMinute >= m_endMs)
            return -1;
        return hour * 60 + int(minute);
    }
    for (int minute = hour * 60; minute < (hour + 1) * 60; ++minute) {
        const std::optional<qint64> moment = day.clock.moment(minute);
        if (!moment || *moment <= m_nowMs)
            continue;
        return *moment < m_endMs ? minute : -1;
    }
    return -1;
}

template <typename F>
void VirtualTimeline::forEachStart(const Entry &entry, const Day &day, F &&f) const {
    if (!startsOn(entry, day))
        return;
    const int firstHour = entry.hour >= 0 ? entry.hour : 0;
    const int lastHour = entry.hour >= 0 ? entry.hour : hoursPerDay - 1;
    for (int hour = firstHour; hour <= lastHour; ++hour) {
        const int minute = minuteOf(entry, day, hour);
        if (minute >= 0)
            f(minute);
    }
}

qint64 VirtualTimeline::countOn(const Entry &entry, const Day &day) const {
    if (day.isInside)
        return startsOn(entry, day) ? (entry.hour >= 0 ? 1 : hoursPerDay) : 0;
    qint64 count = 0;
    forEachStart(entry, day, [&count](int) { ++count; });
    return count;
}

const VirtualTimeline::DayIndex &VirtualTimeline::dayIndex(int day) {
    const auto kept = std::find_if(m_dayIndexes.begin(), m_dayIndexes.end(),
                                   [day](const DayIndex &index) { return index.day == day; });
    if (kept != m_dayIndexes.end()) {
        std::rotate(kept, kept + 1, m_dayIndexes.end());
        return m_dayIndexes.back();
    }
    if (m_dayIndexes.size() >= keptDayIndexes)
        m_dayIndexes.erase(m_dayIndexes.begin());

    // A counting sort by minute; entries keep their order within a minute.
    const Day &shown = m_days.at(day);
    DayIndex index{day, std::vector<qint64>(TimelineDay::minutesPerDay + 1, 0), {}};
    qint64 *before = index.before.data();
    for (const Entry &entry : m_jobs.entries())
        forEachStart(entry, shown, [before](int minute) { ++before[minute + 1]; });
    for (int minute = 0; minute < TimelineDay::minutesPerDay; ++minute)
        before[minute + 1] += before[minute];
    index.entries.resize(index.before.back());
    std::vector<qint64> next = index.before;
    const QList<Entry> &entries = m_jobs.entries();
    for (int entry = 0; entry < entries.size(); ++entry) {
        forEachStart(entries.at(entry), shown,
                     [&](int minute) { index.entries[next[minute]++] = entry; });
    }
    m_dayIndexes.push_back(std::move(index));
    return m_dayIndexes.back();
}

qint64 VirtualTimeline::intervalBlockSize() const {
    const qsizetype intervals = m_jobs.intervals().size();
    return intervals == 0 ? 0 : 1 + intervals;
}

int VirtualTimeline::dayOfRow(qint64 index) const {
    const auto after =
        std::upper_bound(m_shownDays.cbegin(), m_shownDays.cend(), index,
                         [this](qint64 row, int day) { return row < m_days.at(day).firstRow; });
    return *(after - 1);
}

TimelineKind VirtualTimeline::kindAt(qint64 index) const {
    const qint64 block = intervalBlockSize();
    if (index < block)
        return index == 0 ? TimelineKind::group : TimelineKind::interval;
    return m_days.at(dayOfRow(index)).firstRow == index ? TimelineKind::group : TimelineKind::time;
}

QList<qint64> VirtualTimeline::headingRows() const {
    QList<qint64> rows;
    if (intervalBlockSize() > 0)
        rows.append(0);
    for (const int day : m_shownDays)
        rows.append(m_days.at(day).firstRow);
    return rows;
}

Timeline VirtualTimeline::row(qint64 index) {
    Q_ASSERT(index >= 0 && index < m_rowCount);
    const qint64 block = intervalBlockSize();
    if (index < block) {
        if (index > 0)
            return intervalRow(index - 1);
        return {TimelineKind::group, m_now,       Localize::repeatInterval(), true,
                std::nullopt,        std::nullopt};
    }
    const int day = dayOfRow(index);
    const qint64 inDay = index - m_days.at(day).firstRow;
    const DayIndex &starts = dayIndex(day);
    // A heading stands for the day's first start, the others for the start before them.
    const qint64 start = inDay == 0 ? 0 : inDay - 1;
    const int minute = int(std::upper_bound(starts.before.cbegin(), starts.before.cend(), start) -
                           starts.before.cbegin()) -
                       1;
    const QDateTime date =
        QDateTime::fromSecsSinceEpoch(*m_days.at(day).clock.moment(minute) / 1000, m_zone);
    if (inDay == 0) {
        return {TimelineKind::group, m_now,       DateTexts::dayHeading(date, m_now, m_zone), true,
                std::nullopt,        std::nullopt};
    }
    const Entry &entry = m_jobs.entries().at(starts.entries.at(size_t(start)));
    const TimelineJobs::JobRow &job = m_jobs.jobs().at(entry.job);
    // A job that starts every minute of an hour shows one row for the hour, saying so.
    const QString name = entry.minute >= 0
                             ? job.name
                             : Text::bidirectionalString({job.name, Localize::text("every minute")},
                                                         Const::separator);
    return {TimelineKind::time, date, name, job.isEnabled, job.url, std::nullopt};
}

Timeline VirtualTimeline::intervalRow(qsizetype interval) {
    const TimelineJobs::Interval &repeat = m_jobs.intervals().at(interval);
    const TimelineJobs::JobRow &job = m_jobs.jobs().at(repeat.job);
    // Few jobs repeat at spans of their own, and spelling one out takes long.
    auto text = m_durations.constFind(repeat.seconds);
    if (text == m_durations.cend())
        text = m_durations.insert(repeat.seconds, DateTexts::duration(repeat.seconds));
    return {TimelineKind::interval,
            m_now,
            Text::bidirectionalString({job.name, *text}, Const::separator),
            job.isEnabled,
            job.url,
            std::nullopt};
}

qint64 VirtualTimeline::firstRowOfUrl(const QString &url) {
    const QList<TimelineJobs::Interval> &intervals = m_jobs.intervals();
    for (qsizetype i = 0; i < intervals.size(); ++i) {
        if (m_jobs.jobs().at(intervals.at(i).job).url == url)
            return 1 + i;
    }
    for (const int day : std::as_const(m_shownDays)) {
        // The earliest start of the job's entries on the day, the first entry among equals.
        int minute = TimelineDay::minutesPerDay;
        int first = -1;
        for (const TimelineJobs::JobRow &job : m_jobs.jobs()) {
            if (job.url != url)
                continue;
            for (int entry = job.firstEntry; entry < job.endEntry; ++entry) {
                forEachStart(m_jobs.entries().at(entry), m_days.at(day), [&](int start) {
                    if (start < minute) {
                        minute = start;
                        first = entry;
                    }
                });
            }
        }
        if (first < 0)
            continue;
        const DayIndex &starts = dayIndex(day);
        const auto from = starts.entries.cbegin() + starts.before.at(size_t(minute));
        const auto to = starts.entries.cbegin() + starts.before.at(size_t(minute) + 1);
        return m_days.at(day).firstRow + 1 + starts.before.at(size_t(minute)) +
               (std::find(from, to, first) - from);
    }
    return -1;
}

qsizetype VirtualTimeline::heldBytes() const {
    qsizetype bytes = sizeof(*this) + m_jobs.heldBytes() + m_days.capacity() * sizeof(Day) +
                      m_shownDays.capacity() * sizeof(int) +
                      qsizetype(m_jobCounts.capacity() * sizeof(qint32));
    for (const QString &text : m_durations)
        bytes += qsizetype(sizeof(qint64) + sizeof(QString)) + text.capacity() * sizeof(QChar);
    for (const Day &day : m_days)
        bytes += day.clock.heldBytes();
    for (const DayIndex &index : m_dayIndexes) {
        bytes += qsizetype(index.before.capacity() * sizeof(qint64) +
                           index.entries.capacity() * sizeof(int));
    }
    return bytes;
}

} // namespace Vandra

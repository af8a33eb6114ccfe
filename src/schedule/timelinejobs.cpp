#include "schedule/timelinejobs.h"

#include "model/schedulerules.h"
#include "schedule/timelinebuilder.h"

#include <algorithm>
#include <variant>

namespace Vandra {

namespace {

qint8 fieldOf(const std::optional<int> &value) {
    return value ? qint8(*value) : qint8(-1);
}

} // namespace

TimelineJobs::TimelineJobs(const QList<JobPtr> &jobs) {
    m_jobs.reserve(jobs.size());
    m_entries.reserve(jobs.size());
    m_rows.reserve(jobs.size());
    for (const JobPtr &job : jobs)
        read(job);
}

TimelineJobs TimelineJobs::subset(const QList<JobPtr> &jobs) const {
    TimelineJobs result;
    result.m_jobs.reserve(jobs.size());
    for (const JobPtr &job : jobs) {
        const auto row = job ? m_rows.constFind(job.get()) : m_rows.cend();
        if (row == m_rows.cend() || job->isCurrent())
            result.read(job);
        else if (*row >= 0)
            result.copy(*this, *row);
    }
    result.m_rows.clear();
    return result;
}

void TimelineJobs::read(const JobPtr &job) {
    if (!job || !job->plist || !job->url)
        return;
    const int index = int(m_jobs.size());
    JobRow row{job->originalLabel, job->url, job->isEnabled(), int(m_entries.size()), 0, -1};
    const qsizetype intervals = m_intervals.size();
    if (job->scheduled) {
        for (const ScheduledType &rule : *job->scheduled) {
            const auto *repeat = std::get_if<Scheduled::RepeatInterval>(&rule);
            const qint64 seconds =
                repeat ? Scheduled::secondsForInterval(repeat->interval, repeat->unit) : -1;
            // A negative span has no duration text, and so no row.
            if (seconds >= 0)
                m_intervals.append({index, seconds});
        }
    }
    for (const PlistDict &entry : Scheduled::calendarEntries(*job->plist)) {
        const QList<CalendarMatch> matches = TimelineBuilder::calendarMatches(entry);
        const CalendarMatch &first = matches.constFirst();
        Entry added{index,
                    fieldOf(first.month),
                    fieldOf(first.day),
                    fieldOf(first.weekday),
                    fieldOf(first.hour),
                    fieldOf(first.minute)};
        // A weekday and a day of the month come as two matches; either starts the job.
        if (matches.size() > 1)
            added.day = fieldOf(matches.at(1).day);
        m_entries.append(added);
    }
    row.endEntry = int(m_entries.size());
    const bool isShown = row.endEntry > row.firstEntry || m_intervals.size() > intervals;
    m_rows.insert(job.get(), isShown ? index : -1);
    if (isShown)
        m_jobs.append(row);
}

void TimelineJobs::copy(const TimelineJobs &from, int job) {
    const int index = int(m_jobs.size());
    JobRow row = from.m_jobs.at(job);
    row.source = job;
    const int firstEntry = row.firstEntry;
    row.firstEntry = int(m_entries.size());
    for (int entry = firstEntry; entry < row.endEntry; ++entry) {
        Entry copied = from.m_entries.at(entry);
        copied.job = index;
        m_entries.append(copied);
    }
    row.endEntry = int(m_entries.size());
    // A job's intervals are next to each other, in the order they were read.
    const auto first = std::lower_bound(
        from.m_intervals.cbegin(), from.m_intervals.cend(), job,
        [](const Interval &interval, int wanted) { return interval.job < wanted; });
    for (auto interval = first; interval != from.m_intervals.cend() && interval->job == job;
         ++interval)
        m_intervals.append({index, interval->seconds});
    m_jobs.append(row);
}

qsizetype TimelineJobs::heldBytes() const {
    return m_jobs.capacity() * qsizetype(sizeof(JobRow)) +
           m_entries.capacity() * qsizetype(sizeof(Entry)) +
           m_intervals.capacity() * qsizetype(sizeof(Interval)) +
           m_rows.capacity() * qsizetype(sizeof(const Job *) + sizeof(int));
}

} // namespace Vandra

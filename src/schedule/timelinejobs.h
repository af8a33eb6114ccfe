#pragma once

#include "model/job.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// The jobs of a timeline as it reads them: for each job with a file and a dictionary, its
// name, file, enabled state, calendar entries and repeat intervals. Reading them costs more
// than counting their starts, so a filtered list takes what it needs from the whole list's.
class TimelineJobs final {
public:
    struct JobRow {
        QString name;
        std::optional<QString> url;
        bool isEnabled = true;
        int firstEntry = 0;
        int endEntry = 0;
        // The row of the list it was taken from by subset(); -1 when it was read.
        int source = -1;
    };
    // One calendar entry. -1 matches every value; a minute of -1 starts the job at the first
    // minute of each hour it names. A day and a weekday both set start it on either.
    struct Entry {
        int job = 0;
        qint8 month = -1;
        qint8 day = -1;
        qint8 weekday = -1; // 1 = Sunday ... 7 = Saturday
        qint8 hour = -1;
        qint8 minute = -1;
    };
    struct Interval {
        int job = 0;
        qint64 seconds = 0;
    };

    TimelineJobs() = default;
    // Reads jobs, in their order; jobs without a file or a dictionary are left out.
    explicit TimelineJobs(const QList<JobPtr> &jobs);

    // The same as reading jobs, taking each job of this list as it was read here. A job that
    // is not in this list, or that is the current job (whose edits may not be saved), is read.
    [[nodiscard]] TimelineJobs subset(const QList<JobPtr> &jobs) const;

    [[nodiscard]] const QList<JobRow> &jobs() const { return m_jobs; }
    [[nodiscard]] const QList<Entry> &entries() const { return m_entries; }
    [[nodiscard]] const QList<Interval> &intervals() const { return m_intervals; }
    [[nodiscard]] qsizetype heldBytes() const;

private:
    void read(const JobPtr &job);
    void copy(const TimelineJobs &from, int job);

    QList<JobRow> m_jobs;
    QList<Entry> m_entries;
    QList<Interval> m_intervals;
    // Where each job record read went: its row, or -1 when it has nothing to show.
    QHash<const Job *, int> m_rows;
};

} // namespace Vandra

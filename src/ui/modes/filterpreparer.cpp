#include "ui/modes/filterpreparer.h"

#include "store/jobdiscovery.h"
#include "support/chunkedwork.h"
#include "ui/modes/jobfilter.h"

#include <QElapsedTimer>

#include <cstddef>

namespace Vandra {

namespace {

// Short enough that a keystroke waiting behind a slice is not felt.
constexpr qint64 sliceNanoseconds = 4'000'000;
// Jobs a thread takes at a time when the rest is prepared at once.
constexpr std::size_t jobsPerTake = 64;

void prepareText(const JobPtr &job) {
    if (job)
        static_cast<void>(job->textContent.folded(&JobFilter::folded));
}

} // namespace

FilterPreparer::FilterPreparer(QObject *parent)
    : QObject(parent) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &FilterPreparer::prepareSome);
}

void FilterPreparer::prepare(const QList<JobPtr> &jobs) {
    if (jobs == m_jobs)
        return;
    m_jobs = jobs;
    m_next = 0;
    if (m_jobs.isEmpty()) {
        m_timer.stop();
        return;
    }
    m_timer.start();
}

void FilterPreparer::prepareSome() {
    QElapsedTimer slice;
    slice.start();
    while (m_next < m_jobs.size() && slice.nsecsElapsed() < sliceNanoseconds)
        prepareText(m_jobs.at(m_next++));
    if (isDone())
        finish();
}

void FilterPreparer::finishNow() {
    if (isDone())
        return;
    const QList<JobPtr> &jobs = m_jobs;
    const qsizetype start = m_next;
    ChunkedWork::run(std::size_t(jobs.size() - start), jobsPerTake,
                     JobDiscovery::defaultThreadCount(), [&jobs, start] {
                         return [&jobs, start](std::size_t first, std::size_t end) {
                             for (std::size_t i = first; i < end; ++i)
                                 prepareText(jobs.at(start + qsizetype(i)));
                         };
                     });
    m_next = jobs.size();
    finish();
}

void FilterPreparer::finish() {
    m_timer.stop();
    // The records belong to the list; keeping them here would outlive it.
    m_jobs.clear();
    m_next = 0;
    Q_EMIT done();
}

} // namespace Vandra

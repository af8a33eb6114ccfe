#include "ui/modes/filterpreparer.h"

#include "ui/modes/jobfilter.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace Vandra {

namespace {

// Short enough that a keystroke waiting behind a slice is not felt.
constexpr qint64 sliceNanoseconds = 4'000'000;
// Jobs a thread takes at a time when the rest is prepared at once, and below which the
// window's thread does it alone.
constexpr qsizetype jobsPerTake = 64;
// As many as discovery uses.
constexpr int maximumThreads = 4;

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
    std::atomic<qsizetype> next = m_next;
    const auto prepareTakes = [&jobs, &next] {
        for (;;) {
            const qsizetype first = next.fetch_add(jobsPerTake, std::memory_order_relaxed);
            if (first >= jobs.size())
                return;
            const qsizetype end = std::min(jobs.size(), first + jobsPerTake);
            for (qsizetype i = first; i < end; ++i)
                prepareText(jobs.at(i));
        }
    };
    const qsizetype rest = jobs.size() - m_next;
    const int helpers =
        rest > jobsPerTake ? std::clamp(QThread::idealThreadCount(), 1, maximumThreads) - 1 : 0;
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(helpers));
    for (int helper = 0; helper < helpers; ++helper)
        threads.emplace_back(prepareTakes);
    prepareTakes();
    for (std::thread &thread : threads)
        thread.join();
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

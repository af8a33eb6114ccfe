#include "ui/modes/filterpreparer.h"

#include "ui/modes/jobfilter.h"

#include <QElapsedTimer>

namespace Vandra {

namespace {

// Short enough that a keystroke waiting behind a slice is not felt.
constexpr qint64 sliceNanoseconds = 4'000'000;

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
    while (m_next < m_jobs.size() && slice.nsecsElapsed() < sliceNanoseconds) {
        if (const JobPtr &job = m_jobs.at(m_next))
            static_cast<void>(job->textContent.folded(&JobFilter::folded));
        ++m_next;
    }
    if (!isDone())
        return;
    m_timer.stop();
    // The records belong to the list; keeping them here would outlive it.
    m_jobs.clear();
    m_next = 0;
    Q_EMIT done();
}

} // namespace Vandra

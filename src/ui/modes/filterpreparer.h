#pragma once

#include "model/job.h"

#include <QList>
#include <QObject>
#include <QTimer>

namespace Vandra {

// Makes the filter's folded text of every job of a new list ahead of the first filter text,
// a slice at a time while the window is idle: a job's text is made on first use, and making
// it for thousands of jobs at the first keystroke would hold the window for most of a
// second. A keystroke that comes first makes the rest itself, as it always could. The window
// hands it each new job list once.
class FilterPreparer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FilterPreparer)

public:
    explicit FilterPreparer(QObject *parent = nullptr);

    // Prepares the texts of jobs, instead of those of any list before.
    void prepare(const QList<JobPtr> &jobs);
    [[nodiscard]] bool isDone() const { return m_next >= m_jobs.size(); }
    // Prepares the rest at once, on every core, for a filter text that cannot wait: while it
    // runs, each job's text is touched by one thread alone and the window's thread waits.
    void finishNow();

Q_SIGNALS:
    // Every job of the list has its folded text.
    void done();

private:
    void prepareSome();
    void finish();

    QList<JobPtr> m_jobs;
    qsizetype m_next = 0;
    QTimer m_timer;
};

} // namespace Vandra

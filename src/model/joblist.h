#pragma once

#include "model/job.h"
#include "support/sharedinstance.h"

#include <QList>
#include <QObject>

#include <utility>

namespace Vandra {

class Bindings;
class Notifications;

// A list of jobs, grouped by kind and sorted by label, and its current job: the one the
// detail editor shows, or none. Changes to the current job mark the given editor flags
// edited. The program's one list is shared().
class JobList final : public QObject, public SharedInstance<JobList> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobList)

public:
    JobList(Bindings &bindings, Notifications &notifications);
    ~JobList() override;

    [[nodiscard]] const QList<JobPtr> &jobs() const { return m_jobs; }
    // Takes a freshly discovered list; emits jobsUpdated.
    void setJobs(const QList<JobPtr> &jobs);

    [[nodiscard]] const JobPtr &currentJob() const { return m_current; }
    void setCurrentJob(const JobPtr &job);

    // Records a change on the current job and marks the editor edited.
    void markChanged(Change change);

    // The job whose file is path, or none.
    [[nodiscard]] JobPtr jobWithUrl(const QString &path) const;

    // Back to the state of a new process; for tests.
    void reset();
    // Hands the records over and leaves the list empty without telling anyone: for the end
    // of the program, which keeps them rather than freeing them one by one.
    [[nodiscard]] QList<JobPtr> takeJobs() { return std::exchange(m_jobs, {}); }

Q_SIGNALS:
    void jobsUpdated();
    void currentJobChanged(const JobPtr &job);

private:
    Bindings &m_bindings;
    Notifications &m_notifications;
    QList<JobPtr> m_jobs;
    JobPtr m_current;
};

} // namespace Vandra

#include "model/joblist.h"

#include "model/bindings.h"
#include "support/notifications.h"

#include <QDir>

JobList &JobList::shared() {
    static JobList list;
    return list;
}

void JobList::setJobs(const QList<JobPtr> &jobs) {
    m_jobs = jobs;
    Q_EMIT jobsUpdated();
    Q_EMIT Notifications::shared().jobsUpdated();
}

void JobList::setCurrentJob(const JobPtr &job) {
    if (m_current == job)
        return;
    m_current = job;
    Q_EMIT currentJobChanged(m_current);
}

void JobList::markChanged(Change change) {
    if (m_current)
        m_current->changes().insert(change);
    Bindings::shared().setEdited(true);
}

JobPtr JobList::jobWithUrl(const QString &path) const {
    const QString wanted = QDir::cleanPath(path);
    for (const JobPtr &job : m_jobs) {
        if (job->url && QDir::cleanPath(*job->url) == wanted)
            return job;
    }
    return {};
}

void JobList::reset() {
    m_jobs.clear();
    m_current.reset();
}

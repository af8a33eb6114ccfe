#include "model/joblist.h"

#include "model/bindings.h"
#include "support/notifications.h"

#include <QDir>

namespace Vandra {

JobList::JobList(Bindings &bindings, Notifications &notifications)
    : m_bindings(bindings)
    , m_notifications(notifications) {}

JobList::~JobList() {
    if (m_current)
        m_current->m_currentIn.list = nullptr;
}

void JobList::setJobs(const QList<JobPtr> &jobs) {
    m_jobs = jobs;
    Q_EMIT jobsUpdated();
    Q_EMIT m_notifications.jobsUpdated();
}

void JobList::setCurrentJob(const JobPtr &job) {
    if (m_current == job)
        return;
    if (m_current)
        m_current->m_currentIn.list = nullptr;
    m_current = job;
    // A job is current in one list at a time.
    if (m_current)
        m_current->m_currentIn.list = this;
    Q_EMIT currentJobChanged(m_current);
}

void JobList::markChanged(Change change) {
    if (m_current)
        m_current->changes().insert(change);
    m_bindings.setEdited(true);
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
    if (m_current)
        m_current->m_currentIn.list = nullptr;
    m_current.reset();
}

} // namespace Vandra

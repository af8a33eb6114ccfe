#include "ui/common/jobhealth.h"

#include "actions/jobstatussource.h"
#include "model/joblist.h"
#include "store/schedulerows.h"

namespace Vandra {

namespace {

// Jobs examined per turn of the event loop: enough to finish a long list soon, few enough
// that scrolling and typing stay smooth meanwhile.
constexpr int jobsPerTurn = 8;

} // namespace

JobHealth::JobHealth(const JobStatusSource &status, QObject *parent)
    : QObject(parent)
    , m_states(status)
    , m_doctor(&m_states) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &JobHealth::examineSome);
    connect(&JobList::shared(), &JobList::jobsUpdated, this, &JobHealth::markStale);
    // A job that stops or fails changes what the doctor says of its state.
    connect(&status, &JobStatusSource::statusChanged, this, &JobHealth::markStale);
}

QString JobHealth::keyOf(const Job &job) {
    return job.url.value_or(QLatin1Char('\n') + job.label);
}

std::optional<Finding::Severity> JobHealth::severityOf(const JobPtr &job) {
    if (!job || !job->plist)
        return std::nullopt;
    return lookUp(keyOf(*job), job);
}

std::optional<Finding::Severity> JobHealth::severityOfUrl(const QString &url) {
    return lookUp(url, {});
}

std::optional<Finding::Severity> JobHealth::lookUp(const QString &key, const JobPtr &job) {
    const auto found = m_entries.constFind(key);
    if (found == m_entries.cend() || found->isStale) {
        if (!m_pending.contains(key)) {
            m_pending.insert(key, job);
            m_timer.start();
        }
    }
    return found == m_entries.cend() ? std::nullopt : found->worst;
}

void JobHealth::setFindings(const Job &job, const Findings &findings) {
    const QString key = keyOf(job);
    const std::optional<Finding::Severity> worst = JobDoctor::worst(findings);
    m_pending.remove(key);
    const auto found = m_entries.constFind(key);
    const bool isSame = found != m_entries.cend() && found->worst == worst;
    m_entries.insert(key, {worst, false});
    if (!isSame)
        Q_EMIT changed();
}

void JobHealth::examinePending() {
    while (!m_pending.isEmpty())
        examineSome();
}

void JobHealth::examineSome() {
    bool isChanged = false;
    for (int count = 0; count < jobsPerTurn && !m_pending.isEmpty(); ++count) {
        const auto next = m_pending.begin();
        const QString key = next.key();
        JobPtr job = next.value().lock();
        m_pending.erase(next);
        if (!job)
            job = jobOfKey(key);
        if (!job || !job->plist || keyOf(*job) != key)
            continue;
        const RuleRows rows = ScheduleRows::forJob(*job);
        const std::optional<Finding::Severity> worst =
            JobDoctor::worst(m_doctor.examineJob(*job, &rows));
        const auto found = m_entries.constFind(key);
        isChanged = isChanged || found == m_entries.cend() || found->worst != worst;
        m_entries.insert(key, {worst, false});
    }
    if (!m_pending.isEmpty())
        m_timer.start();
    if (isChanged)
        Q_EMIT changed();
}

void JobHealth::markStale() {
    for (Entry &entry : m_entries)
        entry.isStale = true;
    // The views ask again as they draw the new list; they queue what they show.
    Q_EMIT changed();
}

JobPtr JobHealth::jobOfKey(const QString &key) const {
    const JobPtr &current = JobList::shared().currentJob();
    if (current && keyOf(*current) == key)
        return current;
    if (JobPtr job = JobList::shared().jobWithUrl(key))
        return job;
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (keyOf(*job) == key)
            return job;
    }
    return {};
}

} // namespace Vandra

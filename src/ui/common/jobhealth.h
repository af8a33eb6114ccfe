#pragma once

#include "model/job.h"
#include "store/finding.h"
#include "store/jobdoctor.h"
#include "ui/common/statusstatesource.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <QVariant>

#include <memory>
#include <optional>

namespace Vandra {

class JobStatusSource;

// The worst finding of the job doctor on each job, for the badges of the mode views. The
// doctor looks at the file system, so it never runs while a view paints: asking for a job
// that was not examined yet queues it, a timer examines the queue a few jobs at a time, and
// changed() tells the views to draw again. A job keeps its result until it changes: until the
// job list is read again (the result is kept for showing meanwhile) or the editor reports the
// findings of its edits.
class JobHealth final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobHealth)

public:
    // The doctor judges the jobs' state by status, which must outlive this.
    explicit JobHealth(const JobStatusSource &status, QObject *parent = nullptr);

    // The worst severity on job, if known; queues the job otherwise or when it is stale.
    [[nodiscard]] std::optional<Finding::Severity> severityOf(const JobPtr &job);
    // The same for the job of a file, for rows that know only the file.
    [[nodiscard]] std::optional<Finding::Severity> severityOfUrl(const QString &url);
    // A severity as the models' Severity role holds it.
    [[nodiscard]] static QVariant roleData(std::optional<Finding::Severity> severity) {
        return severity ? QVariant(int(*severity)) : QVariant();
    }
    // Takes the findings someone else made on job as they are now, such as the editor's on
    // the current job's edits.
    void setFindings(const Job &job, const Findings &findings);
    // Examines everything queued now; tests use it instead of waiting for the timer.
    void examinePending();

Q_SIGNALS:
    // Some severities became known or changed.
    void changed();

private:
    struct Entry {
        std::optional<Finding::Severity> worst;
        bool isStale = false;
    };

    [[nodiscard]] static QString keyOf(const Job &job);
    std::optional<Finding::Severity> lookUp(const QString &key, const JobPtr &job);
    void examineSome();
    void markStale();
    [[nodiscard]] JobPtr jobOfKey(const QString &key) const;

    StatusStateSource m_states;
    JobDoctor m_doctor;
    QHash<QString, Entry> m_entries;
    // Waiting for the doctor, with the record asked about when the caller had one.
    QHash<QString, std::weak_ptr<Job>> m_pending;
    QTimer m_timer;
};

} // namespace Vandra

#pragma once

#include "actions/actioncontroller.h"
#include "model/job.h"
#include "model/jobstatus.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QTimer;

namespace Vandra {

class HelperConnection;

// The live status of the jobs the helper service has loaded, kept up to date without
// polling: after each answer a status request waits in the helper until the status changes
// (the manager's change signals, or a load, unload, start or stop), on a connection of its
// own so that it holds up no other request.
class JobStatusSource final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobStatusSource)

public:
    // Silent until started.
    explicit JobStatusSource(ActionController::Setup setup, QObject *parent = nullptr);
    ~JobStatusSource() override;

    // Asks the helper for the status now, and from then on for every change. After the
    // helper went away, asks again.
    void start();
    [[nodiscard]] bool isStarted() const { return m_connection != nullptr; }

    // None until the helper has answered; a job it did not name is not loaded.
    [[nodiscard]] std::optional<JobStatus> status(const QString &label) const;
    // The same for a job the helper service loads; none for machine-wide jobs, which the
    // privileged helper loads.
    [[nodiscard]] std::optional<JobStatus> status(const Job &job) const;
    [[nodiscard]] bool hasAnswered() const { return m_hasAnswered; }
    [[nodiscard]] const QHash<QString, JobStatus> &statuses() const { return m_statuses; }
    // The helper's load backend as the helper names it ("systemd", "state file"), or empty
    // before its first answer.
    [[nodiscard]] const QString &backend() const { return m_backend; }

    // Takes a helper's answer to a status request; while connected, asks for the next change.
    void takeReply(const PlistDict &reply);

Q_SIGNALS:
    // The statuses were replaced by the helper's answer.
    void statusChanged();
    // The helper answered (changed or not), or could not be reached.
    void answered();
    void unreachable();

private:
    void ask(std::optional<qint64> changedSince);
    void onFailure();

    ActionController::Setup m_setup;
    QPointer<HelperConnection> m_connection;
    QHash<QString, JobStatus> m_statuses;
    QString m_backend;
    bool m_hasAnswered = false;
    // A failed connection is made again once after this delay; a second failure in a row
    // waits for the next start().
    QTimer *m_retryTimer;
    bool m_hasAnsweredSinceRetry = true;
};

// The name of the load backend for the About box: what the helper service said it uses,
// in words, or a word that it is not known yet.
[[nodiscard]] QString loadBackendName(const JobStatusSource &source);

} // namespace Vandra

#include "jobstatussource.h"

#include "actions/helperconnection.h"
#include "actions/helperprograms.h"
#include "support/localize.h"

#include <QTimer>

#include <limits>

namespace Vandra {

namespace {

// How long a lost connection waits before it is made again, in ms.
constexpr int retryDelay = 2000;

} // namespace

JobStatusSource::JobStatusSource(ActionController::Setup setup, QObject *parent)
    : QObject(parent)
    , m_setup(std::move(setup))
    , m_retryTimer(new QTimer(this)) {
    m_retryTimer->setSingleShot(true);
    m_retryTimer->setInterval(retryDelay);
    connect(m_retryTimer, &QTimer::timeout, this, &JobStatusSource::start);
}

JobStatusSource::~JobStatusSource() {
    delete m_connection.data();
}

void JobStatusSource::start() {
    if (m_connection)
        return;
    HelperConnection::Options options;
    options.socketPath = m_setup.serviceSocket;
    options.connectTimeout = m_setup.connectTimeout;
    // The request waits in the helper until something changes, which may take days.
    options.replyTimeout = std::numeric_limits<int>::max();
    options.startHelper = [program = m_setup.serviceProgram, socket = m_setup.serviceSocket,
                           arguments = m_setup.helperArguments] {
        return program && HelperPrograms::startService(*program, socket, arguments);
    };
    m_connection = new HelperConnection(std::move(options), this);
    if (!m_connection->isValid()) {
        onFailure();
        return;
    }
    ask(std::nullopt);
}

void JobStatusSource::ask(std::optional<qint64> changedSince) {
    Action request(Action::Kind::status);
    request.presentError = false;
    request.cleanUp = false;
    request.changedSince = changedSince;
    m_connection->send(
        actionDictionary(request, std::nullopt), this,
        [this](const PlistDict &reply) { takeReply(reply); },
        [this](const QString &) { onFailure(); });
}

void JobStatusSource::takeReply(const PlistDict &reply) {
    m_hasAnsweredSinceRetry = true;
    const PlistValue *jobs = reply.find(ActionKey::status);
    const auto generation = reply.value(ActionKey::generation).toInteger();
    if (!jobs || !jobs->dict() || !generation) {
        // A helper that does not tell status: nothing will change, so nothing is asked again.
        Q_EMIT answered();
        return;
    }
    QHash<QString, JobStatus> statuses;
    for (const auto &[label, value] : *jobs->dict()) {
        if (const PlistDict *dict = value.dict())
            statuses.insert(label, JobStatus::fromDict(*dict));
    }
    m_backend = reply.value(ActionKey::backend).toString().value_or(QString());
    if (statuses != m_statuses || !m_hasAnswered) {
        m_hasAnswered = true;
        m_statuses = std::move(statuses);
        Q_EMIT statusChanged();
    }
    if (m_connection)
        ask(*generation);
    Q_EMIT answered();
}

void JobStatusSource::onFailure() {
    if (m_connection) {
        m_connection->invalidate();
        m_connection->deleteLater();
        m_connection = nullptr;
    }
    if (m_hasAnswered) {
        // What is not known any more is not shown as if it were.
        m_statuses.clear();
        m_hasAnswered = false;
        Q_EMIT statusChanged();
    }
    if (m_hasAnsweredSinceRetry) {
        m_hasAnsweredSinceRetry = false;
        m_retryTimer->start();
    }
    Q_EMIT unreachable();
}

std::optional<JobStatus> JobStatusSource::status(const QString &label) const {
    if (!m_hasAnswered)
        return std::nullopt;
    return m_statuses.value(label, JobStatus());
}

std::optional<JobStatus> JobStatusSource::status(const Job &job) const {
    if (!job.kind || !job.plist || ActionController::isMachineWide(*job.kind))
        return std::nullopt;
    return status(job.label);
}

QString loadBackendName(const JobStatusSource &source) {
    if (source.backend() == QStringLiteral("systemd"))
        return Localize::text("systemd");
    if (source.backend() == QStringLiteral("state file"))
        return Localize::text("none (loaded jobs are only recorded)");
    if (source.backend().isEmpty())
        return Localize::text("not known yet");
    return source.backend();
}

} // namespace Vandra

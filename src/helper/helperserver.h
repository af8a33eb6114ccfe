#pragma once

#include "helper/helpersession.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

namespace Vandra {

class ActionService;
class LocalListener;

// Listens on a helper's socket and keeps one session per client.
class HelperServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelperServer)

public:
    explicit HelperServer(ActionService *service, QObject *parent = nullptr);
    ~HelperServer() override;

    // Checked for every request; a refusal is answered as an unusable helper (code 1).
    void setAuthorizer(HelperSession::Authorizer authorizer) {
        m_authorizer = std::move(authorizer);
    }

    // Listens at socketPath, readable and writable by this user only. A stale socket file
    // is replaced.
    bool listen(const QString &socketPath, QString *error);
    // Clients beyond this many at once are closed unanswered, so that the helper keeps the
    // descriptors it needs for its work and keeps listening.
    void setConnectionLimit(int limit) { m_connectionLimit = limit; }
    [[nodiscard]] int connectionLimit() const { return m_connectionLimit; }
    // The limit for this process's open-file limit: room for the work of every client.
    [[nodiscard]] static int defaultConnectionLimit();
    // How long a client may take to send one whole frame, in ms.
    void setFrameTimeout(int milliseconds) { m_frameTimeout = milliseconds; }
    [[nodiscard]] QString socketPath() const;
    [[nodiscard]] int sessionCount() const { return m_sessionCount; }
    [[nodiscard]] bool hasHadClient() const { return m_hasHadClient; }
    // Ends every connection after its written replies; no new client is taken.
    void closeAll();

Q_SIGNALS:
    void sessionCountChanged(int count);

private:
    void onConnected(int descriptor);

    ActionService *m_service;
    LocalListener *m_listener;
    int m_connectionLimit;
    int m_frameTimeout = HelperSession::defaultFrameTimeout;
    HelperSession::Authorizer m_authorizer;
    QList<QPointer<HelperSession>> m_sessions;
    int m_sessionCount = 0;
    bool m_hasHadClient = false;
};

} // namespace Vandra

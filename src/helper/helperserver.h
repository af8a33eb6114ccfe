#pragma once

#include "helper/helpersession.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class ActionService;
class QLocalServer;

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
    [[nodiscard]] QString socketPath() const;
    [[nodiscard]] int sessionCount() const { return m_sessionCount; }
    [[nodiscard]] bool hasHadClient() const { return m_hasHadClient; }
    // Ends every connection after its written replies; no new client is taken.
    void closeAll();

Q_SIGNALS:
    void sessionCountChanged(int count);

private:
    void onNewConnection();

    ActionService *m_service;
    QLocalServer *m_server;
    HelperSession::Authorizer m_authorizer;
    QList<QPointer<HelperSession>> m_sessions;
    int m_sessionCount = 0;
    bool m_hasHadClient = false;
};

#include "helperserver.h"

#include "helper/helperlog.h"

#include <QLocalServer>
#include <QLocalSocket>

HelperServer::HelperServer(ActionService *service, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(128);
    connect(m_server, &QLocalServer::newConnection, this, &HelperServer::onNewConnection);
}

HelperServer::~HelperServer() {
    m_server->close();
}

bool HelperServer::listen(const QString &socketPath, QString *error) {
    QLocalServer::removeServer(socketPath);
    if (!m_server->listen(socketPath)) {
        *error = m_server->errorString();
        return false;
    }
    return true;
}

QString HelperServer::socketPath() const {
    return m_server->fullServerName();
}

void HelperServer::onNewConnection() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto *session = new HelperSession(socket, m_service, m_authorizer, this);
        m_sessions.append(session);
        ++m_sessionCount;
        m_hasHadClient = true;
        connect(session, &HelperSession::closed, this, [this, session] {
            session->deleteLater();
            m_sessions.removeAll(session);
            --m_sessionCount;
            Q_EMIT sessionCountChanged(m_sessionCount);
        });
        Q_EMIT sessionCountChanged(m_sessionCount);
    }
}

void HelperServer::closeAll() {
    m_server->close();
    const QList<QPointer<HelperSession>> sessions = m_sessions;
    for (const QPointer<HelperSession> &session : sessions) {
        if (session)
            session->close();
    }
}

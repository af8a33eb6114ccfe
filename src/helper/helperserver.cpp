#include "helperserver.h"

#include "helper/helperlog.h"
#include "platform/locallistener.h"

#include <QFile>
#include <QLocalSocket>

#include <unistd.h>

#include <sys/socket.h>
#include <sys/stat.h>

namespace Vandra {

namespace {

// Descriptors kept free for the helper itself: its files, its lock, a test run's pipes and
// output, the journal reader's pipes.
constexpr int reservedDescriptors = 48;

bool isSocket(const QString &path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISSOCK(info.st_mode);
}

} // namespace

HelperServer::HelperServer(ActionService *service, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_listener(new LocalListener(this))
    , m_connectionLimit(defaultConnectionLimit()) {
    connect(m_listener, &LocalListener::connected, this, &HelperServer::onConnected);
    connect(m_listener, &LocalListener::refused, this,
            [] { qCInfo(lcHelper) << "closed a connection: no descriptor is left"; });
}

HelperServer::~HelperServer() {
    m_listener->close();
}

int HelperServer::defaultConnectionLimit() {
    // Each client needs one descriptor, and its requests a few more while they run.
    return qMax(4, (LocalListener::descriptorLimit() - reservedDescriptors) / 2);
}

bool HelperServer::listen(const QString &socketPath, QString *error) {
    // Only a socket is replaced; anything else there is someone else's.
    if (isSocket(socketPath))
        ::unlink(QFile::encodeName(socketPath).constData());
    return m_listener->listen(socketPath, 0600, error);
}

QString HelperServer::socketPath() const {
    return m_listener->path();
}

void HelperServer::onConnected(int descriptor) {
    if (m_sessionCount >= m_connectionLimit) {
        qCInfo(lcHelper) << "closed a connection beyond" << m_connectionLimit << "clients";
        ::shutdown(descriptor, SHUT_RDWR);
        ::close(descriptor);
        return;
    }
    auto *socket = new QLocalSocket;
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    auto *session = new HelperSession(socket, m_service, m_authorizer, m_frameTimeout, this);
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

void HelperServer::closeAll() {
    m_listener->close();
    const QList<QPointer<HelperSession>> sessions = m_sessions;
    for (const QPointer<HelperSession> &session : sessions) {
        if (session)
            session->close();
    }
}

} // namespace Vandra

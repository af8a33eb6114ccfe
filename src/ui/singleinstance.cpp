#include "ui/singleinstance.h"

#include "support/locations.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

// Messages travel as UTF-8 lines; a message never holds a line break.
constexpr qint64 maximumBytes = 64 * 1024;
constexpr int readTimeoutMs = 5000;

} // namespace

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(socketPath) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    return Locations::shared().runtimeDir() + QStringLiteral("/vandra.sock");
}

bool SingleInstance::listen() {
    const QString folder = QFileInfo(m_socketPath).path();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_socketPath)) {
        QLocalSocket probe;
        probe.connectToServer(m_socketPath);
        if (probe.waitForConnected(1000))
            return false;
        // Nobody answers: the socket file is left from an instance that ended.
        QLocalServer::removeServer(m_socketPath);
        if (!m_server->listen(m_socketPath))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept() {
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto *buffer = new QByteArray;
        auto *timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket, &QLocalSocket::abort);
        timeout->start(readTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer] {
            buffer->append(socket->readAll());
            if (buffer->size() > maximumBytes)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            QStringList messages;
            if (buffer->size() <= maximumBytes) {
                for (const QByteArray &line : buffer->split('\n')) {
                    if (!line.isEmpty())
                        messages.append(QString::fromUtf8(line));
                }
            }
            delete buffer;
            socket->deleteLater();
            Q_EMIT messagesReceived(messages);
        });
    }
}

bool SingleInstance::send(const QString &socketPath, const QStringList &messages, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray bytes;
    for (const QString &message : messages) {
        QString line = message;
        line.remove(QLatin1Char('\n'));
        bytes += line.toUtf8() + '\n';
    }
    socket.write(bytes);
    if (!bytes.isEmpty() && !socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

#include "ui/window/singleinstance.h"

#include "support/locations.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <memory>

namespace {

// A greeting line, then one UTF-8 line per message; a message never holds a line break.
constexpr qint64 maximumBytes = 64 * 1024;
constexpr int readTimeoutMs = 5000;
const QByteArray greeting = QByteArrayLiteral("vandra-open");

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

    // No socket options: with them Qt binds elsewhere and renames the socket into place,
    // which would replace the socket of a running instance. The folder is the user's alone.
    m_server = new QLocalServer(this);
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
        auto buffer = std::make_shared<QByteArray>();
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
            socket->deleteLater();
            QList<QByteArray> lines = buffer->split('\n');
            // A connection without the greeting only checked that this instance runs.
            if (buffer->size() > maximumBytes || lines.takeFirst() != greeting)
                return;
            // What follows the last line break is a message cut off on its way.
            if (!lines.isEmpty())
                lines.removeLast();
            QStringList messages;
            for (const QByteArray &line : std::as_const(lines)) {
                if (!line.isEmpty())
                    messages.append(QString::fromUtf8(line));
            }
            Q_EMIT messagesReceived(messages);
        });
    }
}

bool SingleInstance::send(const QString &socketPath, const QStringList &messages, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray bytes = greeting + '\n';
    for (const QString &message : messages) {
        QString line = message;
        line.remove(QLatin1Char('\n'));
        bytes += line.toUtf8() + '\n';
    }
    socket.write(bytes);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

#include "ui/window/singleinstance.h"

#include "platform/locallistener.h"
#include "support/locations.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

#include <memory>

namespace Vandra {

namespace {

// A greeting line, then one UTF-8 line per message; a message never holds a line break.
constexpr qint64 maximumBytes = 64 * 1024;
constexpr int readTimeoutMs = 5000;
// Hand-overs at once beyond this are closed unread, so that the window keeps descriptors for
// its own files and keeps listening.
constexpr int maximumConnections = 32;
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

    // Binding fails while anything is at the path, so a running instance's socket is never
    // replaced. The folder is the user's alone.
    m_listener = new LocalListener(this);
    QString error;
    if (!m_listener->listen(m_socketPath, 0600, &error)) {
        QLocalSocket probe;
        probe.connectToServer(m_socketPath);
        if (probe.waitForConnected(1000))
            return false;
        // Nobody answers: the socket file is left from an instance that ended.
        QFile::remove(m_socketPath);
        if (!m_listener->listen(m_socketPath, 0600, &error))
            return false;
    }
    connect(m_listener, &LocalListener::connected, this, &SingleInstance::accept);
    return true;
}

void SingleInstance::accept(int descriptor) {
    if (m_connectionCount >= maximumConnections) {
        ::close(descriptor);
        return;
    }
    auto *socket = new QLocalSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        ::close(descriptor);
        delete socket;
        return;
    }
    ++m_connectionCount;
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
        --m_connectionCount;
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

} // namespace Vandra

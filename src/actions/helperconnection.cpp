#include "helperconnection.h"

#include "platform/helperframe.h"
#include "support/localize.h"

#include <QLocalSocket>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>

namespace Vandra {

Q_LOGGING_CATEGORY(lcConnection, "vandra.actions.connection", QtInfoMsg)

HelperConnection::HelperConnection(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_socket(new QLocalSocket(this))
    , m_retryTimer(new QTimer(this))
    , m_connectTimer(new QTimer(this))
    , m_replyTimer(new QTimer(this)) {
    m_retryTimer->setSingleShot(true);
    m_retryTimer->setInterval(50);
    m_connectTimer->setSingleShot(true);
    m_connectTimer->setInterval(m_options.connectTimeout);
    m_replyTimer->setSingleShot(true);
    m_replyTimer->setInterval(m_options.replyTimeout);

    connect(m_socket, &QLocalSocket::connected, this, &HelperConnection::onConnected);
    connect(m_socket, &QLocalSocket::errorOccurred, this, &HelperConnection::onSocketError);
    connect(m_socket, &QLocalSocket::readyRead, this, &HelperConnection::onReadyRead);
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        if (m_state == State::connected)
            fail(Localize::text("The connection to the helper was interrupted."));
    });
    connect(m_retryTimer, &QTimer::timeout, this, &HelperConnection::connectSocket);
    connect(m_connectTimer, &QTimer::timeout, this, [this] {
        if (m_state == State::connecting)
            fail(Localize::text("The helper did not answer."));
    });
    connect(m_replyTimer, &QTimer::timeout, this,
            [this] { fail(Localize::text("The helper did not answer in time.")); });

    m_connectTimer->start();
    connectSocket();
}

HelperConnection::~HelperConnection() {
    // Nobody is left to hear the answers.
    m_pending.clear();
    m_socket->disconnect(this);
    m_socket->abort();
}

void HelperConnection::connectSocket() {
    if (m_state != State::connecting)
        return;
    m_socket->abort();
    m_socket->connectToServer(m_options.socketPath);
}

void HelperConnection::onConnected() {
    if (m_state != State::connecting)
        return;
    m_state = State::connected;
    m_connectTimer->stop();
    m_retryTimer->stop();
    writePending();
}

void HelperConnection::onSocketError() {
    if (m_state == State::broken)
        return;
    if (m_state == State::connected) {
        fail(Localize::text("The connection to the helper was interrupted."));
        return;
    }
    const auto error = m_socket->error();
    const bool isAbsent =
        error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError;
    const bool isBusy =
        error == QLocalSocket::SocketResourceError || error == QLocalSocket::SocketTimeoutError;
    if (isAbsent && !m_hasStartedHelper) {
        if (!m_options.startHelper) {
            fail(Localize::text("The helper could not be reached."));
            return;
        }
        m_hasStartedHelper = true;
        qCDebug(lcConnection) << "starting the helper for" << m_options.socketPath;
        if (!m_options.startHelper()) {
            fail(Localize::text("The helper could not be started."));
            return;
        }
    } else if (!isAbsent && !isBusy) {
        fail(Localize::text("The helper could not be reached."));
        return;
    }
    // The helper is on its way, or its backlog is full: try again shortly.
    m_retryTimer->start();
}

void HelperConnection::send(const PlistDict &request, QObject *context, ReplyHandler onReply,
                            FailureHandler onFailure) {
    QString error;
    const auto frame = HelperFrame::encode(request, &error);
    if (!frame || m_state == State::broken) {
        const QString reason = frame
                                   ? Localize::text("The connection to the helper was interrupted.")
                                   : Localize::text("The request could not be sent to the helper.");
        if (!frame)
            qCWarning(lcConnection) << "request not sent:" << error;
        QMetaObject::invokeMethod(
            context, [onFailure = std::move(onFailure), reason] { onFailure(reason); },
            Qt::QueuedConnection);
        return;
    }
    m_pending.append({*frame, context, std::move(onReply), std::move(onFailure)});
    if (m_state == State::connected)
        writePending();
}

void HelperConnection::writePending() {
    bool wrote = false;
    for (Pending &pending : m_pending) {
        if (pending.isWritten)
            continue;
        m_socket->write(pending.frame);
        pending.isWritten = true;
        pending.frame.clear();
        wrote = true;
    }
    if (wrote)
        armReplyTimer();
}

void HelperConnection::armReplyTimer() {
    if (m_pending.isEmpty())
        m_replyTimer->stop();
    else
        m_replyTimer->start();
}

void HelperConnection::onReadyRead() {
    if (m_state != State::connected)
        return;
    m_reader.append(m_socket->readAll());
    QByteArray body;
    for (;;) {
        const auto status = m_reader.next(&body);
        if (status == HelperFrameReader::Status::incomplete)
            break;
        if (status == HelperFrameReader::Status::tooLong) {
            fail(Localize::text("The helper sent an answer that could not be read."));
            return;
        }
        auto decoded = HelperFrame::decode(body);
        if (!decoded.dict || m_pending.isEmpty() || !m_pending.constFirst().isWritten) {
            qCWarning(lcConnection) << "unreadable or unexpected answer:" << decoded.error;
            fail(Localize::text("The helper sent an answer that could not be read."));
            return;
        }
        Pending pending = m_pending.takeFirst();
        armReplyTimer();
        if (!pending.context)
            continue;
        QMetaObject::invokeMethod(
            pending.context.data(),
            [onReply = std::move(pending.onReply), reply = std::move(*decoded.dict)] {
                onReply(reply);
            },
            Qt::QueuedConnection);
    }
}

bool HelperConnection::finishOutstanding(QDeadlineTimer deadline) {
    if (m_pending.isEmpty())
        return true;
    const auto remaining = [&deadline] { return int(qMax<qint64>(deadline.remainingTime(), 0)); };
    const int retryInterval = m_retryTimer->interval();
    // The retry timer would try again from the event loop; here this loop tries instead.
    while (m_state == State::connecting && !deadline.hasExpired()) {
        if (m_socket->state() == QLocalSocket::UnconnectedState) {
            m_retryTimer->stop();
            connectSocket();
        } else {
            m_socket->waitForConnected(qMin(remaining(), retryInterval));
        }
        if (m_state == State::connecting && m_socket->state() == QLocalSocket::UnconnectedState)
            QThread::msleep(ulong(qMin(remaining(), retryInterval)));
    }
    // The signals of the socket still arrive while it is waited for: the answers are taken
    // as they come, and a broken connection ends the wait.
    while (m_state == State::connected && !m_pending.isEmpty() && !deadline.hasExpired()) {
        const bool isWaiting = m_socket->bytesToWrite() > 0
                                   ? m_socket->waitForBytesWritten(remaining())
                                   : m_socket->waitForReadyRead(remaining());
        if (!isWaiting)
            break;
    }
    return m_state != State::broken && m_pending.isEmpty();
}

void HelperConnection::invalidate() {
    fail(Localize::text("The connection to the helper was invalidated."));
}

void HelperConnection::fail(const QString &error) {
    if (m_state == State::broken)
        return;
    m_state = State::broken;
    m_retryTimer->stop();
    m_connectTimer->stop();
    m_replyTimer->stop();
    m_socket->abort();
    m_reader.clear();
    const QList<Pending> pending = std::exchange(m_pending, {});
    qCDebug(lcConnection) << "connection to" << m_options.socketPath << "broken:" << error << "with"
                          << pending.size() << "outstanding";
    for (const Pending &request : pending) {
        if (!request.context)
            continue;
        QMetaObject::invokeMethod(
            request.context.data(), [onFailure = request.onFailure, error] { onFailure(error); },
            Qt::QueuedConnection);
    }
    Q_EMIT broken();
}

} // namespace Vandra

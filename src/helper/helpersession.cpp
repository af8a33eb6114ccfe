#include "helpersession.h"

#include "actions/action.h"
#include "helper/actionservice.h"
#include "helper/helperlog.h"
#include "platform/helperframe.h"

#include <QLocalSocket>
#include <QTimer>

namespace {
// A client that does not read its replies is cut off past this much unread output.
constexpr qint64 unreadLimit = 64 * 1024 * 1024;
} // namespace

HelperSession::HelperSession(QLocalSocket *socket, ActionService *service, Authorizer authorizer,
                             QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_service(service)
    , m_authorizer(std::move(authorizer))
    , m_peer(PeerCredentials::of(socket->socketDescriptor()))
    , m_partialTimer(new QTimer(this)) {
    m_socket->setParent(this);
    m_partialTimer->setSingleShot(true);
    m_partialTimer->setInterval(partialFrameTimeout);
    connect(m_partialTimer, &QTimer::timeout, this, [this] {
        qCInfo(lcHelper) << "closing a connection whose frame stayed unfinished";
        m_socket->abort();
    });
    connect(m_socket, &QLocalSocket::readyRead, this, &HelperSession::onReadyRead);
    connect(m_socket, &QLocalSocket::disconnected, this, [this] {
        m_isClosing = true;
        m_queue.clear();
        m_partialTimer->stop();
        Q_EMIT closed();
    });
    // Bytes that came with the connection.
    QMetaObject::invokeMethod(this, &HelperSession::onReadyRead, Qt::QueuedConnection);
}

HelperSession::~HelperSession() {
    *m_alive = false;
}

void HelperSession::onReadyRead() {
    if (m_isClosing)
        return;
    m_reader.append(m_socket->readAll());
    QByteArray body;
    for (;;) {
        const auto status = m_reader.next(&body);
        if (status == HelperFrameReader::Status::incomplete)
            break;
        if (status == HelperFrameReader::Status::tooLong) {
            qCInfo(lcHelper) << "refused a frame over" << HelperFrame::maximumLength << "bytes";
            m_queue.clear();
            closeAfterReply(ActionService::errorReply(Action::ErrorCode::unknown,
                                                      QStringLiteral("the message is too long")));
            return;
        }
        if (m_queue.size() >= queueLimit) {
            qCInfo(lcHelper) << "closing a connection with" << queueLimit << "unanswered requests";
            m_socket->abort();
            return;
        }
        m_queue.append(body);
    }
    if (m_reader.hasPartialFrame())
        m_partialTimer->start();
    else
        m_partialTimer->stop();
    processNext();
}

void HelperSession::processNext() {
    if (m_isBusy || m_isClosing || m_queue.isEmpty())
        return;
    const QByteArray body = m_queue.takeFirst();
    const HelperFrame::Decoded decoded = HelperFrame::decode(body);
    if (!decoded.dict) {
        qCInfo(lcHelper).noquote() << "refused a request that could not be read:" << decoded.error;
        writeReply(ActionService::errorReply(Action::ErrorCode::unknown, decoded.error));
        QMetaObject::invokeMethod(this, &HelperSession::processNext, Qt::QueuedConnection);
        return;
    }
    if (m_authorizer) {
        if (const auto refusal = m_authorizer(*decoded.dict, m_peer)) {
            qCInfo(lcHelper).noquote() << "refused an unauthorized request:" << *refusal;
            writeReply(ActionService::errorReply(Action::ErrorCode::invalidHelperTool,
                                                 QStringLiteral("not authorized")));
            QMetaObject::invokeMethod(this, &HelperSession::processNext, Qt::QueuedConnection);
            return;
        }
    }
    m_isBusy = true;
    m_service->handle(*decoded.dict, [this, alive = m_alive](const PlistDict &reply) {
        if (!*alive)
            return;
        writeReply(reply);
        m_isBusy = false;
        QMetaObject::invokeMethod(this, &HelperSession::processNext, Qt::QueuedConnection);
    });
}

void HelperSession::writeReply(const PlistDict &reply) {
    if (m_isClosing)
        return;
    QString error;
    auto frame = HelperFrame::encode(reply, &error);
    if (!frame) {
        qCWarning(lcHelper).noquote() << "a reply could not be written:" << error;
        frame = HelperFrame::encode(ActionService::errorReply(
            Action::ErrorCode::unknown, QStringLiteral("the reply is too long")));
    }
    m_socket->write(*frame);
    if (m_socket->bytesToWrite() > unreadLimit) {
        qCInfo(lcHelper) << "closing a connection that does not read its replies";
        m_socket->abort();
    }
}

void HelperSession::closeAfterReply(const PlistDict &reply) {
    writeReply(reply);
    close();
}

void HelperSession::close() {
    m_isClosing = true;
    m_queue.clear();
    m_partialTimer->stop();
    m_socket->disconnectFromServer();
}

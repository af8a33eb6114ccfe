#include "helpersession.h"

#include "actions/action.h"
#include "helper/actionservice.h"
#include "helper/helperlog.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QThreadPool>
#include <QTimer>

namespace Vandra {

namespace {

// A client that does not read its replies is cut off past this much unread output.
constexpr qint64 unreadLimit = 64 * 1024 * 1024;

// Request bodies are read into dictionaries here, off the thread that serves every client,
// so that one that takes long to read holds up only its own client. One thread per body
// being read, up to the connection limit; never deleted, so that ending the helper does not
// wait for a body that is still being read.
QThreadPool *decoders() {
    static QThreadPool *const pool = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(256);
        return threads;
    }();
    return pool;
}

} // namespace

HelperSession::HelperSession(QLocalSocket *socket, ActionService *service, Authorizer authorizer,
                             int frameTimeout, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_service(service)
    , m_authorizer(std::move(authorizer))
    , m_peer(PeerCredentials::of(socket->socketDescriptor()))
    , m_partialTimer(new QTimer(this)) {
    m_socket->setParent(this);
    m_partialTimer->setSingleShot(true);
    m_partialTimer->setInterval(frameTimeout);
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
    bool isFrameDone = false;
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
        isFrameDone = true;
    }
    // The time runs from a frame's first byte: restarted only when a new frame begins.
    if (!m_reader.hasPartialFrame())
        m_partialTimer->stop();
    else if (isFrameDone || !m_partialTimer->isActive())
        m_partialTimer->start();
    processNext();
}

void HelperSession::processNext() {
    if (m_isBusy || m_isClosing || m_queue.isEmpty())
        return;
    m_isBusy = true;
    decoders()->start([body = m_queue.takeFirst(), alive = m_alive, session = this] {
        HelperFrame::Decoded decoded = HelperFrame::decode(body);
        // Back on the serving thread, where alone the session is touched.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [decoded = std::move(decoded), alive, session] {
                if (*alive)
                    session->serve(decoded);
            },
            Qt::QueuedConnection);
    });
}

void HelperSession::serve(const HelperFrame::Decoded &decoded) {
    const auto next = [this] {
        m_isBusy = false;
        QMetaObject::invokeMethod(this, &HelperSession::processNext, Qt::QueuedConnection);
    };
    if (m_isClosing)
        return;
    if (!decoded.dict) {
        qCInfo(lcHelper).noquote() << "refused a request that could not be read:" << decoded.error;
        writeReply(ActionService::errorReply(Action::ErrorCode::unknown, decoded.error));
        next();
        return;
    }
    if (m_authorizer) {
        if (const auto refusal = m_authorizer(*decoded.dict, m_peer)) {
            qCInfo(lcHelper).noquote() << "refused an unauthorized request:" << *refusal;
            writeReply(ActionService::errorReply(Action::ErrorCode::invalidHelperTool,
                                                 QStringLiteral("not authorized")));
            next();
            return;
        }
    }
    m_service->handle(*decoded.dict, [this, alive = m_alive, next](const PlistDict &reply) {
        if (!*alive)
            return;
        writeReply(reply);
        next();
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

} // namespace Vandra

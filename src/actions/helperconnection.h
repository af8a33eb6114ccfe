#pragma once

#include "platform/helperframereader.h"
#include "platform/plistvalue.h"

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QLocalSocket;
class QTimer;

namespace Vandra {

// A connection to one helper's socket. Requests go out as frames and each gets exactly one
// answer, in order: its reply, or a failure when the connection breaks, times out or is
// invalidated. A broken connection stays broken; the owner makes a new one.
class HelperConnection final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelperConnection)

public:
    using ReplyHandler = std::function<void(const PlistDict &reply)>;
    using FailureHandler = std::function<void(const QString &error)>;

    struct Options {
        QString socketPath;
        // Called once when the socket does not answer; returns whether a helper was started.
        std::function<bool()> startHelper;
        int connectTimeout = 15000; // ms, including the start of the helper
        int replyTimeout = 120000;  // ms without any answer while requests are outstanding
    };

    // Connects at once. A connection whose socket does not answer and whose helper could not
    // be started is invalid when the constructor returns.
    explicit HelperConnection(Options options, QObject *parent = nullptr);
    ~HelperConnection() override;

    [[nodiscard]] bool isValid() const { return m_state != State::broken; }
    [[nodiscard]] bool isConnected() const { return m_state == State::connected; }
    [[nodiscard]] QString socketPath() const { return m_options.socketPath; }
    [[nodiscard]] qsizetype outstandingCount() const { return m_pending.size(); }

    // Queues a request. The handlers run later on context's thread, never inside this call,
    // and not at all once context is gone.
    void send(const PlistDict &request, QObject *context, ReplyHandler onReply,
              FailureHandler onFailure);

    // Breaks the connection; every outstanding request fails.
    void invalidate();

    // For the end of the program, when no event loop runs any more: hands every queued
    // request to the helper, connecting first (and waiting for a helper that is starting), and
    // waits for the answers, since the helper drops what it has not carried out when its
    // client goes. The answers' handlers do not run. False when a request was not answered
    // before deadline.
    bool finishOutstanding(QDeadlineTimer deadline);

Q_SIGNALS:
    // The connection broke (after the failures of its requests were handed out).
    void broken();

private:
    enum class State { connecting, connected, broken };

    struct Pending {
        QByteArray frame;
        QPointer<QObject> context;
        ReplyHandler onReply;
        FailureHandler onFailure;
        bool isWritten = false;
    };

    void connectSocket();
    void onConnected();
    void onSocketError();
    void onReadyRead();
    void writePending();
    void fail(const QString &error);
    void armReplyTimer();

    Options m_options;
    State m_state = State::connecting;
    QLocalSocket *m_socket = nullptr;
    QTimer *m_retryTimer = nullptr;
    QTimer *m_connectTimer = nullptr;
    QTimer *m_replyTimer = nullptr;
    bool m_hasStartedHelper = false;
    HelperFrameReader m_reader;
    QList<Pending> m_pending;
};

} // namespace Vandra

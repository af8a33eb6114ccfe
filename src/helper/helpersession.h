#pragma once

#include "platform/helperframe.h"
#include "platform/helperframereader.h"
#include "platform/peercredentials.h"
#include "platform/plistvalue.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QLocalSocket;
class QTimer;

namespace Vandra {

class ActionService;

// One client connection: reads request frames, hands them to the service one after the
// other, and writes one reply frame per request, in order.
class HelperSession final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelperSession)

public:
    // The reason a request may not be served, or none.
    using Authorizer = std::function<std::optional<QString>(
        const PlistDict &request, const std::optional<PeerCredentials> &peer)>;

    // A client that sends more requests than this without reading replies is cut off.
    static constexpr int queueLimit = 1000;
    // A frame that is not complete this long after its first byte ends the connection,
    // however steadily its bytes trickle in.
    static constexpr int defaultFrameTimeout = 30000; // ms

    HelperSession(QLocalSocket *socket, ActionService *service, Authorizer authorizer,
                  int frameTimeout = defaultFrameTimeout, QObject *parent = nullptr);
    ~HelperSession() override;

    [[nodiscard]] const std::optional<PeerCredentials> &peer() const { return m_peer; }
    // Ends the connection once the replies written so far have gone out.
    void close();

Q_SIGNALS:
    // The client went away; the session may be deleted.
    void closed();

private:
    void onReadyRead();
    void processNext();
    void serve(const HelperFrame::Decoded &decoded);
    void writeReply(const PlistDict &reply);
    void closeAfterReply(const PlistDict &reply);

    QLocalSocket *m_socket;
    ActionService *m_service;
    Authorizer m_authorizer;
    std::optional<PeerCredentials> m_peer;
    HelperFrameReader m_reader;
    QList<QByteArray> m_queue;
    QTimer *m_partialTimer;
    bool m_isBusy = false;
    bool m_isClosing = false;
    // Guards the service's late replies against a session that is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace Vandra

#pragma once

#include "actions/action.h"
#include "actions/helperconnection.h"
#include "actions/privilegedhandshake.h"
#include "model/kind.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QProcess;

namespace Vandra {

class ActionDelegate;

// The one object that talks to the two helpers: the helper service, which acts with the
// user's rights and is started when its socket does not answer, and the privileged helper,
// which is started through an authorization handshake. Requests are sent as dictionaries and
// their replies or failures handled on the main thread.
class ActionController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ActionController)

public:
    struct Setup {
        QString serviceSocket;
        // The executables; none when they cannot be found.
        std::optional<QString> serviceProgram;
        std::optional<QString> privilegedProgram;
        // Put in front of the privileged helper; empty runs it directly.
        QStringList privilegedLauncher;
        // Handed to both helpers (the locations root).
        QStringList helperArguments;
        int connectTimeout = 15000;
        int replyTimeout = 120000;
        // An authorization prompt may wait for the user for a while.
        int handshakeTimeout = 120000;

        // The setup of this process: its locations, the executables beside it.
        [[nodiscard]] static Setup standard();
    };

    explicit ActionController(Setup setup, QObject *parent = nullptr);
    ~ActionController() override;

    // Sends through the helper service. False, after an alert, when no connection can be made.
    bool send(const ActionPtr &action);
    // Sends through the privileged helper, doing the handshake first when there is no
    // privileged connection. False, after an alert, when the helper cannot be started at all.
    bool sendPrivileged(const ActionPtr &action);

    // Whether jobs of a kind are loaded by the privileged helper; local agents run in the
    // user's session, so the helper service loads them.
    [[nodiscard]] static bool isMachineWide(Kind kind) {
        return kind != Kind::userAgent && kind != Kind::localAgent;
    }

    // Starts a loaded job now, or stops it, through the helper that loaded it: the privileged
    // helper for machine-wide jobs. A failure is shown as an alert, unless onReply is given,
    // which then gets the reply or the error. False when the request could not be sent.
    bool startJob(const QString &label, bool privileged,
                  std::function<void(const PlistDict &reply)> onReply = {});
    bool stopJob(const QString &label, bool privileged,
                 std::function<void(const PlistDict &reply)> onReply = {});

    // Follow-ups after a privileged success, through the helper service.
    void loadLocalAgent(const QString &path);
    void unloadLocalAgent(const QString &path, const QString &label);

    // Not owned; the delegate clears itself before it goes.
    void setDelegate(ActionDelegate *delegate) { m_delegate = delegate; }
    [[nodiscard]] ActionDelegate *delegate() const { return m_delegate; }

    // The helper service connection; none before the first send and after a failure.
    [[nodiscard]] HelperConnection *connection() const { return m_connection; }
    [[nodiscard]] HelperConnection *privilegedConnection() const { return m_privilegedConnection; }
    // The token of the privileged connection, sent as "authData" while held.
    [[nodiscard]] const std::optional<QByteArray> &authData() const { return m_authData; }
    [[nodiscard]] bool isHandshaking() const { return m_handshake != nullptr; }

    // Reply and failure handling; run on the main thread for every answer.
    void handleReply(const PlistDict &reply, const WeakAction &action, bool privileged);
    void handleFailure(const WeakAction &action, const QString &error, bool privileged,
                       const QPointer<HelperConnection> &connection);
    // Ends the editor's saving state after a failed request, the job still edited.
    void endSavingKeepingEdits();
    void resetAfterFailure(const WeakAction &action);
    // One alert for a reply's error dictionary.
    void presentErrorDictionary(const PlistValue &error);

private:
    bool privilegedSend(const ActionPtr &action);
    void sendOn(HelperConnection *connection, const ActionPtr &action, bool privileged);
    void onHandshakeReply(const PrivilegedHandshake::Reply &reply);
    void onHandshakeFailure(const QString &error);
    void dropConnection();
    void dropPrivilegedConnection();
    void forget(const WeakAction &action);
    bool sendOwn(Action::Kind kind, const QString &label, bool privileged,
                 std::function<void(const PlistDict &reply)> onReply);
    // Hands a failure to a request's own reply handler; false when it has none.
    bool replyFailure(const ActionPtr &action, const QString &error);

    Setup m_setup;
    ActionDelegate *m_delegate = nullptr;
    QPointer<HelperConnection> m_connection;
    QPointer<HelperConnection> m_privilegedConnection;
    std::optional<QByteArray> m_authData;
    QPointer<PrivilegedHandshake> m_handshake;
    // Held strongly while the handshake runs, in the order they came.
    QList<ActionPtr> m_handshakeActions;
    QPointer<QProcess> m_privilegedProcess;
    // The controller's own follow-up requests, kept until they are answered.
    QList<ActionPtr> m_followUps;
};

} // namespace Vandra

#include "actioncontroller.h"

#include "actions/actiondelegate.h"
#include "actions/helperconnection.h"
#include "actions/helperprograms.h"
#include "actions/logentry.h"
#include "model/bindings.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"

#include <QLoggingCategory>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace Vandra {

Q_LOGGING_CATEGORY(lcActions, "vandra.actions")

namespace {

void alertNoConnection() {
    Interaction::error(Localize::couldNotEstablishCommunicationWithHelperTool(),
                       Localize::pleaseTryAgain());
}

} // namespace

ActionController::Setup ActionController::Setup::standard() {
    Setup setup;
    setup.serviceSocket = Locations::shared().helperSocket();
    setup.serviceProgram = HelperPrograms::find(HelperPrograms::serviceName);
    setup.privilegedProgram = HelperPrograms::find(HelperPrograms::privilegedName);
    setup.privilegedLauncher = HelperPrograms::privilegedLauncher();
    setup.helperArguments = HelperPrograms::rootArguments();
    return setup;
}

ActionController::ActionController(Setup setup, QObject *parent)
    : QObject(parent)
    , m_setup(std::move(setup)) {}

ActionController::~ActionController() {
    m_delegate = nullptr;
    delete m_handshake.data();
    delete m_connection.data();
    delete m_privilegedConnection.data();
    // The privileged helper ends once its client is gone; give it a moment to do so.
    if (m_privilegedProcess && m_privilegedProcess->state() != QProcess::NotRunning)
        m_privilegedProcess->waitForFinished(5000);
    delete m_privilegedProcess.data();
}

bool ActionController::send(const ActionPtr &action) {
    if (!action)
        return false;
    if (!m_connection) {
        HelperConnection::Options options;
        options.socketPath = m_setup.serviceSocket;
        options.connectTimeout = m_setup.connectTimeout;
        options.replyTimeout = m_setup.replyTimeout;
        options.startHelper = [program = m_setup.serviceProgram, socket = m_setup.serviceSocket,
                               arguments = m_setup.helperArguments] {
            return program && HelperPrograms::startService(*program, socket, arguments);
        };
        auto *connection = new HelperConnection(std::move(options), this);
        if (!connection->isValid()) {
            delete connection;
            alertNoConnection();
            return false;
        }
        m_connection = connection;
        connect(connection, &HelperConnection::broken, this, [this, connection] {
            if (m_connection == connection)
                dropConnection();
        });
    }
    sendOn(m_connection, action, false);
    return true;
}

bool ActionController::sendPrivileged(const ActionPtr &action) {
    if (!action)
        return false;
    action->privileged = true;
    if (m_privilegedConnection)
        return privilegedSend(action);
    if (m_handshake) {
        // One authorization prompt at a time: later requests wait for the same handshake.
        m_handshakeActions.append(action);
        return true;
    }
    const bool hasLauncher =
        m_setup.privilegedLauncher.isEmpty() ||
        !QStandardPaths::findExecutable(m_setup.privilegedLauncher.constFirst()).isEmpty();
    if (!m_setup.privilegedProgram || !hasLauncher) {
        qCWarning(lcActions) << "the privileged helper or its launcher is missing";
        alertNoConnection();
        return false;
    }
    m_handshake = new PrivilegedHandshake(m_setup.privilegedLauncher, *m_setup.privilegedProgram,
                                          m_setup.helperArguments, m_setup.handshakeTimeout, this);
    m_handshakeActions = {action};
    connect(m_handshake, &PrivilegedHandshake::replied, this, &ActionController::onHandshakeReply);
    connect(m_handshake, &PrivilegedHandshake::failed, this, &ActionController::onHandshakeFailure);
    m_handshake->start();
    return true;
}

bool ActionController::privilegedSend(const ActionPtr &action) {
    if (!m_privilegedConnection) {
        alertNoConnection();
        return false;
    }
    sendOn(m_privilegedConnection, action, true);
    return true;
}

void ActionController::sendOn(HelperConnection *connection, const ActionPtr &action,
                              bool privileged) {
    // The token goes only to the helper that checks it.
    const PlistDict request =
        actionDictionary(*action, privileged ? m_authData : std::optional<QByteArray>());
    const WeakAction weak = action;
    const QPointer<HelperConnection> from = connection;
    connection->send(
        request, this,
        [this, weak, privileged](const PlistDict &reply) { handleReply(reply, weak, privileged); },
        [this, weak, privileged, from](const QString &error) {
            handleFailure(weak, error, privileged, from);
        });
}

void ActionController::onHandshakeReply(const PrivilegedHandshake::Reply &reply) {
    PrivilegedHandshake *handshake = m_handshake;
    m_handshake = nullptr;
    const QList<ActionPtr> actions = std::exchange(m_handshakeActions, {});
    if (!reply.endpoint || !reply.authData) {
        if (handshake)
            handshake->deleteLater();
        bool isAnswered = true;
        for (const ActionPtr &action : actions)
            isAnswered = replyFailure(action, Localize::cannotAuthenticate()) && isAnswered;
        if (!reply.success && !isAnswered)
            Interaction::error(Localize::cannotAuthenticate(), Localize::pleaseTryAgain());
        for (const ActionPtr &action : actions)
            resetAfterFailure(action);
        return;
    }
    if (handshake) {
        m_privilegedProcess = handshake->takeProcess();
        handshake->deleteLater();
    }
    if (m_privilegedProcess) {
        m_privilegedProcess->setParent(this);
        // Keep reading so the helper never blocks on a full pipe.
        connect(m_privilegedProcess, &QProcess::readyReadStandardOutput, m_privilegedProcess,
                [process = m_privilegedProcess.data()] { process->readAllStandardOutput(); });
        connect(m_privilegedProcess, &QProcess::finished, m_privilegedProcess,
                &QObject::deleteLater);
    }
    m_authData = reply.authData;
    HelperConnection::Options options;
    options.socketPath = *reply.endpoint;
    options.connectTimeout = m_setup.connectTimeout;
    options.replyTimeout = m_setup.replyTimeout;
    auto *connection = new HelperConnection(std::move(options), this);
    m_privilegedConnection = connection;
    connect(connection, &HelperConnection::broken, this, [this, connection] {
        if (m_privilegedConnection == connection)
            dropPrivilegedConnection();
    });
    for (const ActionPtr &action : actions)
        privilegedSend(action);
}

void ActionController::onHandshakeFailure(const QString &error) {
    // The handshake could not even be asked: the error is shown, nothing is reset.
    if (m_handshake)
        m_handshake->deleteLater();
    m_handshake = nullptr;
    bool isAnswered = true;
    for (const ActionPtr &action : std::exchange(m_handshakeActions, {}))
        isAnswered = replyFailure(action, error) && isAnswered;
    if (!isAnswered)
        Interaction::error(error, Localize::pleaseTryAgain());
}

void ActionController::dropConnection() {
    HelperConnection *connection = m_connection;
    m_connection = nullptr;
    if (connection) {
        connection->invalidate();
        connection->deleteLater();
    }
}

void ActionController::dropPrivilegedConnection() {
    HelperConnection *connection = m_privilegedConnection;
    m_privilegedConnection = nullptr;
    m_authData.reset();
    if (connection) {
        connection->invalidate();
        connection->deleteLater();
    }
}

void ActionController::forget(const WeakAction &action) {
    if (const ActionPtr strong = action.lock())
        m_followUps.removeAll(strong);
}

void ActionController::handleReply(const PlistDict &reply, const WeakAction &weak,
                                   bool privileged) {
    const ActionPtr action = weak.lock();
    forget(weak);
    if (action && action->onReply) {
        action->onReply(reply);
        return;
    }
    if (const PlistValue *error = reply.find(ActionKey::error); error && error->isDict()) {
        if (action && action->presentError)
            presentErrorDictionary(*error);
        if (action && action->cleanUp)
            endSavingKeepingEdits();
        return;
    }
    if (privileged && action && action->localAgentLoadPath) {
        QTimer::singleShot(0, this,
                           [this, path = *action->localAgentLoadPath] { loadLocalAgent(path); });
        return;
    }
    if (privileged && action && action->localAgentUnloadPath) {
        QTimer::singleShot(
            0, this,
            [this, path = *action->localAgentUnloadPath,
             label = action->label.value_or(QString())] { unloadLocalAgent(path, label); });
        return;
    }
    if (action && action->kind == Action::Kind::test) {
        if (const auto output = reply.value(ActionKey::test).toString(); output && m_delegate)
            m_delegate->showTestOutput(*output);
        return;
    }
    if (action && action->kind == Action::Kind::log) {
        if (const auto entries = LogEntries::fromValue(reply.value(ActionKey::logQuery));
            entries && m_delegate)
            m_delegate->showLogEntries(*entries);
        return;
    }
    if (!action || !m_delegate)
        return;
    if (action->cleanUp && m_delegate->hasDetailEditor()) {
        m_delegate->endSaving();
        Bindings::shared().setLocked(true);
        m_delegate->reloadJobs();
    }
    if (action->kind == Action::Kind::remove)
        m_delegate->clearSelectedJob();
}

void ActionController::handleFailure(const WeakAction &weak, const QString &error, bool privileged,
                                     const QPointer<HelperConnection> &connection) {
    const ActionPtr action = weak.lock();
    if (!replyFailure(action, error) && action && action->presentError)
        Interaction::error(error, Localize::pleaseTryAgain());
    resetAfterFailure(weak);
    forget(weak);
    // Only the connection that failed is dropped, never a newer one.
    if (privileged) {
        if (m_privilegedConnection && m_privilegedConnection == connection)
            dropPrivilegedConnection();
    } else if (m_connection && m_connection == connection) {
        dropConnection();
    }
}

void ActionController::resetAfterFailure(const WeakAction &weak) {
    const ActionPtr action = weak.lock();
    if (action && action->cleanUp)
        endSavingKeepingEdits();
    if (m_delegate)
        m_delegate->resetLogViewer();
}

void ActionController::endSavingKeepingEdits() {
    if (!m_delegate)
        return;
    // The request failed, so the job was not saved: it still counts as edited, or the next
    // reload would replace the edits with the file and nothing would warn before leaving it.
    const bool isEdited = Bindings::shared().isEdited();
    m_delegate->endSaving();
    Bindings::shared().setEdited(isEdited);
}

void ActionController::presentErrorDictionary(const PlistValue &error) {
    const PlistDict *dict = error.dict();
    const auto domain = dict ? dict->value(ActionKey::domain).toString() : std::nullopt;
    const auto code = dict ? dict->value(ActionKey::code).toInteger() : std::nullopt;
    if (!domain || !code) {
        Interaction::error(Localize::anUnknownErrorOccurred(), Localize::pleaseTryAgain());
        return;
    }
    const QString codeText = Text::bidirectionalString(
        {Localize::anUnknownErrorOccurred(), u'(' + QString::number(*code) + u')'},
        QStringLiteral(" "));
    if (*domain != Action::errorDomain()) {
        const auto description = dict->value(ActionKey::description).toString();
        const auto suggestion = dict->value(ActionKey::suggestion).toString();
        if (description && suggestion)
            Interaction::error(*description, *suggestion);
        else
            Interaction::error(codeText, Localize::pleaseTryAgain());
        return;
    }
    switch (*code) {
    case qint64(Action::ErrorCode::invalidHelperTool):
        Interaction::error(Localize::couldNotEstablishCommunicationWithHelperTool(),
                           Localize::pleaseTryAgain());
        break;
    case qint64(Action::ErrorCode::cantRemove):
        Interaction::error(Localize::theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError(),
                           Localize::pleaseTryAgain());
        break;
    case qint64(Action::ErrorCode::cantSave):
        Interaction::error(Localize::theItemCouldntBeAddedOrRemovedBecauseOfAnUnknownError(),
                           Localize::renameTheItemAndTryAgain());
        break;
    case qint64(Action::ErrorCode::logError):
        Interaction::error(Localize::anUnknownErrorOccurredWhenFetchingTheLog(),
                           Localize::pleaseTryAgain());
        if (m_delegate)
            m_delegate->resetLogViewer();
        break;
    default:
        Interaction::error(codeText, Localize::pleaseTryAgain());
        break;
    }
}

bool ActionController::replyFailure(const ActionPtr &action, const QString &error) {
    if (!action || !action->onReply)
        return false;
    m_followUps.removeAll(action);
    action->onReply(
        PlistDict{{ActionKey::error, actionErrorDictionary(Action::ErrorCode::unknown, error)}});
    return true;
}

bool ActionController::startJob(const QString &label, bool privileged,
                                std::function<void(const PlistDict &reply)> onReply) {
    return sendOwn(Action::Kind::start, label, privileged, std::move(onReply));
}

bool ActionController::stopJob(const QString &label, bool privileged,
                               std::function<void(const PlistDict &reply)> onReply) {
    return sendOwn(Action::Kind::stop, label, privileged, std::move(onReply));
}

bool ActionController::sendOwn(Action::Kind kind, const QString &label, bool privileged,
                               std::function<void(const PlistDict &reply)> onReply) {
    auto action = Action::make(kind);
    action->label = label;
    // Nothing is being saved: the editor keeps its state whatever the answer.
    action->cleanUp = false;
    action->onReply = std::move(onReply);
    m_followUps.append(action);
    const bool isSent = privileged ? sendPrivileged(action) : send(action);
    if (!isSent)
        m_followUps.removeAll(action);
    return isSent;
}

void ActionController::loadLocalAgent(const QString &path) {
    auto action = Action::make(Action::Kind::load);
    action->url = path;
    m_followUps.append(action);
    if (!send(action)) {
        m_followUps.removeAll(action);
        qCWarning(lcActions).noquote() << QStringLiteral("Error loading job at path: %1").arg(path);
    }
}

void ActionController::unloadLocalAgent(const QString &path, const QString &label) {
    auto action = Action::make(Action::Kind::unload);
    action->label = label;
    action->url = path;
    m_followUps.append(action);
    if (!send(action)) {
        m_followUps.removeAll(action);
        qCWarning(lcActions).noquote()
            << QStringLiteral("Error unloading job at path: %1").arg(path);
    }
}

} // namespace Vandra

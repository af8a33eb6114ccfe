// The controller against the real helper executables.

#include "actions/actioncontroller.h"
#include "actions/actionstestsupport.h"
#include "actions/jobstatussource.h"
#include "common/helpersetup.h"
#include "common/samplejob.h"
#include "common/testmain.h"
#include "helper/statefilebackend.h"
#include "model/bindings.h"
#include "platform/plistcodec.h"
#include "support/localize.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

using namespace Vandra;

namespace {

using ActionKind = Action::Kind;

} // namespace

class TestActionController : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<RecordingInteraction> m_interaction;
    std::unique_ptr<RecordingDelegate> m_delegate;
    std::unique_ptr<ActionController> m_controller;

    QString socketPath() const { return m_root->path() + QStringLiteral("/run/helper.sock"); }
    QString agents() const {
        return Locations::shared().userLibrary() + QStringLiteral("/LaunchAgents");
    }
    QString localAgents() const {
        return Locations::shared().localLibrary() + QStringLiteral("/LaunchAgents");
    }
    QString daemons() const {
        return Locations::shared().localLibrary() + QStringLiteral("/LaunchDaemons");
    }
    QString inFolder(const QString &folder, const QString &name) const {
        return folder + u'/' + name;
    }
    StateFileBackend serviceState() const {
        return StateFileBackend(Locations::shared().stateDir() + QStringLiteral("/loaded.plist"));
    }

    ActionController::Setup setup() const { return rootedHelperSetup(m_root->path()); }

    // The service the controller started, found through its lock.
    qint64 servicePid() const {
        QLockFile lock(socketPath() + QStringLiteral(".lock"));
        qint64 pid = 0;
        QString host;
        QString application;
        return lock.getLockInfo(&pid, &host, &application) ? pid : 0;
    }

    void killService() {
        const qint64 pid = servicePid();
        if (pid > 0)
            ::kill(pid_t(pid), SIGKILL);
    }

    ActionPtr saveAgent(const QString &name, const QString &label) {
        return Action::save(inFolder(agents(), name), jobText(label), label);
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("VANDRA_JOURNALCTL", QByteArray());
        qputenv("VANDRA_HELPER_IDLE_TIMEOUT", "60");
    }

    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        Locations::initialize(m_root->path());
        QVERIFY(QDir().mkpath(agents()));
        QVERIFY(QDir().mkpath(localAgents()));
        QVERIFY(QDir().mkpath(daemons()));
        Bindings::shared().reset();
        m_interaction = std::make_unique<RecordingInteraction>();
        m_delegate = std::make_unique<RecordingDelegate>();
        m_controller = std::make_unique<ActionController>(setup());
        m_controller->setDelegate(m_delegate.get());
    }

    void cleanup() {
        m_controller.reset();
        killService();
        m_delegate.reset();
        m_interaction.reset();
        m_root.reset();
    }

    void theFirstSendStartsTheServiceAndTheReplyEndsTheSave() {
        const auto save = saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"));
        QVERIFY(m_controller->send(save));
        QVERIFY(m_controller->connection());
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 1, 30000);
        QCOMPARE(m_delegate->endSavingCount, 1);
        QVERIFY(Bindings::shared().isLocked());
        QVERIFY(QFileInfo::exists(inFolder(agents(), QStringLiteral("a.plist"))));
        QVERIFY(m_interaction->alerts.isEmpty());
    }

    void aRequestSentWhileTheServiceStartsReachesItWithoutTheEventLoop() {
        // The program ends right after the send: no turn of the event loop connects.
        const auto save = saveAgent(QStringLiteral("late.plist"), QStringLiteral("late"));
        QVERIFY(m_controller->send(save));
        HelperConnection *connection = m_controller->connection();
        QVERIFY(connection);
        QVERIFY(!connection->isConnected());
        QVERIFY(connection->finishOutstanding(QDeadlineTimer(20000)));
        QVERIFY(QFileInfo::exists(inFolder(agents(), QStringLiteral("late.plist"))));

        // A helper that starts but never listens: the wait ends at the deadline, and says that
        // the request did not go.
        ActionController::Setup silent = setup();
        silent.serviceSocket = m_root->path() + QStringLiteral("/run/silent.sock");
        silent.serviceProgram = QStringLiteral("/bin/true");
        ActionController lonely(silent);
        QVERIFY(lonely.send(saveAgent(QStringLiteral("lost.plist"), QStringLiteral("lost"))));
        QVERIFY(!lonely.connection()->finishOutstanding(QDeadlineTimer(300)));
    }

    void sendsReuseTheConnectionAndANewOneFollowsAKilledService() {
        const auto first = saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"));
        QVERIFY(m_controller->send(first));
        HelperConnection *connection = m_controller->connection();
        const auto second = saveAgent(QStringLiteral("b.plist"), QStringLiteral("b"));
        QVERIFY(m_controller->send(second));
        QCOMPARE(m_controller->connection(), connection);
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 2, 30000);
        const qint64 pid = servicePid();
        QVERIFY(pid > 0);

        // The service dies while idle: its connection goes quietly.
        killService();
        QTRY_VERIFY_WITH_TIMEOUT(!m_controller->connection(), 10000);
        QVERIFY(m_interaction->alerts.isEmpty());

        const auto third = saveAgent(QStringLiteral("c.plist"), QStringLiteral("c"));
        QVERIFY(m_controller->send(third));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 3, 30000);
        QVERIFY(servicePid() != pid);
        QVERIFY(QFileInfo::exists(inFolder(agents(), QStringLiteral("c.plist"))));
    }

    void aBrokenConnectionFailsItsRequestsAsTheyAsk() {
        // A test run keeps the service busy while the save waits behind it.
        QDir().mkpath(Locations::shared().testJobsDir());
        const QString testPath = Locations::shared().testJobsDir() + QStringLiteral("/t.plist");
        const auto test = Action::test(
            testPath, Locations::shared().testJobsDir() + QStringLiteral("/t.out"),
            jobText(QStringLiteral("T"), {{QStringLiteral("ProgramArguments"),
                                           PlistValue(QStringList{QStringLiteral("/bin/sleep"),
                                                                  QStringLiteral("30")})}}),
            QStringLiteral("T"));
        test->presentError = false;
        const auto save = saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"));
        Bindings::shared().setEdited(true);
        QVERIFY(m_controller->send(test));
        QVERIFY(m_controller->send(save));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(testPath), 30000);
        killService();

        QTRY_COMPARE_WITH_TIMEOUT(m_interaction->alerts.size(), 1, 10000);
        QVERIFY(!m_controller->connection());
        // The save failed: the editor leaves its saving state but the job stays edited.
        QCOMPARE(m_delegate->endSavingCount, 1);
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(m_delegate->logResetCount, 2);
        QCOMPARE(m_delegate->reloadCount, 0);
        QVERIFY(!QFileInfo::exists(inFolder(agents(), QStringLiteral("a.plist"))));
    }

    void aSaveTheHelperRefusesKeepsTheJobEdited() {
        // A folder where the file should go: the helper answers with an error.
        QVERIFY(QDir().mkpath(inFolder(agents(), QStringLiteral("a.plist"))));
        Bindings::shared().setEdited(true);
        const auto save = saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"));
        QVERIFY(m_controller->send(save));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->endSavingCount, 1, 30000);
        QCOMPARE(m_interaction->alerts.size(), 1);
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(m_delegate->reloadCount, 0);
    }

    void aRequestWhoseCreatorIsGoneHasNoEffect() {
        QVERIFY(
            m_controller->send(saveAgent(QStringLiteral("gone.plist"), QStringLiteral("gone"))));
        const auto kept = saveAgent(QStringLiteral("kept.plist"), QStringLiteral("kept"));
        QVERIFY(m_controller->send(kept));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 1, 30000);
        // Replies come in order, so the first one was handled already, to no effect.
        QCOMPARE(m_delegate->endSavingCount, 1);
        QVERIFY(QFileInfo::exists(inFolder(agents(), QStringLiteral("gone.plist"))));
    }

    void withoutHelpersTheSendersSayNoAtOnce() {
        ActionController::Setup none;
        none.serviceSocket = socketPath();
        ActionController controller(none);
        controller.setDelegate(m_delegate.get());
        QVERIFY(!controller.send(saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"))));
        QVERIFY(
            !controller.sendPrivileged(saveAgent(QStringLiteral("a.plist"), QStringLiteral("a"))));
        QCOMPARE(m_interaction->alerts.size(), 2);
        QCOMPARE(m_interaction->alerts.at(0).first,
                 Localize::couldNotEstablishCommunicationWithHelperTool());
        QVERIFY(!controller.connection());
        QVERIFY(!controller.isHandshaking());
    }

    void aPrivilegedSendShakesHandsOnceAndCarriesTheToken() {
        const auto first = Action::save(inFolder(daemons(), QStringLiteral("d.plist")),
                                        jobText(QStringLiteral("d")), QStringLiteral("d"));
        QVERIFY(m_controller->sendPrivileged(first));
        QVERIFY(first->privileged);
        QVERIFY(m_controller->isHandshaking());
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 1, 30000);
        QVERIFY(QFileInfo::exists(inFolder(daemons(), QStringLiteral("d.plist"))));
        QCOMPARE(m_controller->authData().value_or(QByteArray()).size(), 32);
        HelperConnection *connection = m_controller->privilegedConnection();
        QVERIFY(connection);

        // With the connection held, the next request goes out at once; the helper only
        // serves it with the token.
        const auto second = Action::save(inFolder(daemons(), QStringLiteral("e.plist")),
                                         jobText(QStringLiteral("e")), QStringLiteral("e"));
        QVERIFY(m_controller->sendPrivileged(second));
        QVERIFY(!m_controller->isHandshaking());
        QCOMPARE(m_controller->privilegedConnection(), connection);
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 2, 30000);
        QVERIFY(QFileInfo::exists(inFolder(daemons(), QStringLiteral("e.plist"))));
        QVERIFY(m_interaction->alerts.isEmpty());
        // The user's service never saw a request.
        QVERIFY(!m_controller->connection());
    }

    void requestsDuringTheHandshakeWaitForIt() {
        const auto first = Action::save(inFolder(daemons(), QStringLiteral("d.plist")),
                                        jobText(QStringLiteral("d")), QStringLiteral("d"));
        const auto second = Action::save(inFolder(daemons(), QStringLiteral("e.plist")),
                                         jobText(QStringLiteral("e")), QStringLiteral("e"));
        QVERIFY(m_controller->sendPrivileged(first));
        QVERIFY(m_controller->sendPrivileged(second));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 2, 30000);
        QVERIFY(QFileInfo::exists(inFolder(daemons(), QStringLiteral("e.plist"))));
    }

    void aRefusedHandshakeResetsTheEditor_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("alerts");
        QTest::newRow("launcher fails") << QStringLiteral("exit 1") << true;
        QTest::newRow("user dismissed the prompt") << QStringLiteral("exit 126") << false;
        QTest::newRow("endpoint without token")
            << QStringLiteral("echo /tmp/x.sock; echo nottoken; sleep 5") << true;
        QTest::newRow("token too short")
            << QStringLiteral("echo /tmp/x.sock; echo abcd; sleep 5") << true;
    }

    void aRefusedHandshakeResetsTheEditor() {
        QFETCH(QString, script);
        QFETCH(bool, alerts);
        ActionController::Setup refusing = setup();
        refusing.privilegedLauncher = {QStringLiteral("/bin/sh"), QStringLiteral("-c"), script};
        ActionController controller(refusing);
        controller.setDelegate(m_delegate.get());
        Bindings::shared().setEdited(true);
        const auto save = Action::save(inFolder(daemons(), QStringLiteral("d.plist")),
                                       jobText(QStringLiteral("d")), QStringLiteral("d"));
        QVERIFY(controller.sendPrivileged(save));
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isHandshaking(), 30000);
        QCOMPARE(m_interaction->alerts.size(), alerts ? 1 : 0);
        if (alerts)
            QCOMPARE(m_interaction->alerts.constFirst().first, Localize::cannotAuthenticate());
        QCOMPARE(m_delegate->endSavingCount, 1);
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(!controller.privilegedConnection());
        QVERIFY(!controller.authData());
        QVERIFY(!QFileInfo::exists(inFolder(daemons(), QStringLiteral("d.plist"))));

        // The next privileged request asks again.
        QVERIFY(controller.sendPrivileged(save));
        QVERIFY(controller.isHandshaking());
        QTRY_VERIFY_WITH_TIMEOUT(!controller.isHandshaking(), 30000);
    }

    void aLauncherThatCannotRunShowsItsError() {
        ActionController::Setup broken = setup();
        broken.privilegedLauncher = {QStringLiteral("/nonexistent/launcher")};
        ActionController controller(broken);
        controller.setDelegate(m_delegate.get());
        QVERIFY(!controller.sendPrivileged(Action::make(ActionKind::uninstallHelpers)));
        QCOMPARE(m_interaction->alerts.size(), 1);
    }

    void startIsRefusedAndStopHasNothingToDoWhereJobsAreOnlyRecorded() {
        const auto save = saveAgent(QStringLiteral("s.plist"), QStringLiteral("s"));
        save->kind = ActionKind::saveAndLoad;
        QVERIFY(m_controller->send(save));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 1, 30000);

        std::optional<PlistDict> started;
        QVERIFY(m_controller->startJob(QStringLiteral("s"), false,
                                       [&started](const PlistDict &reply) { started = reply; }));
        QTRY_VERIFY_WITH_TIMEOUT(started.has_value(), 30000);
        const PlistDict error = *started->find(ActionKey::error)->dict();
        QVERIFY(error.value(ActionKey::description)
                    .toString()
                    ->contains(QStringLiteral("no service manager runs jobs")));

        std::optional<PlistDict> stopped;
        QVERIFY(m_controller->stopJob(QStringLiteral("s"), false,
                                      [&stopped](const PlistDict &reply) { stopped = reply; }));
        QTRY_VERIFY_WITH_TIMEOUT(stopped.has_value(), 30000);
        QVERIFY(!stopped->contains(ActionKey::error));

        // Without a handler the refusal is an alert; nothing was being saved, so nothing ends.
        QVERIFY(m_controller->startJob(QStringLiteral("unknown"), false));
        QTRY_COMPARE_WITH_TIMEOUT(m_interaction->alerts.size(), 1, 30000);
        QCOMPARE(m_delegate->reloadCount, 1);
        QCOMPARE(m_delegate->endSavingCount, 1);
    }

    void theStatusSourceHearsOfLoadsAndUnloadsWithoutAsking() {
        JobStatusSource source(setup());
        QSignalSpy answered(&source, &JobStatusSource::answered);
        QSignalSpy changed(&source, &JobStatusSource::statusChanged);
        QCOMPARE(loadBackendName(source), Localize::text("not known yet"));
        source.start();
        QVERIFY(answered.wait(30000));
        QCOMPARE(source.backend(), QStringLiteral("state file"));
        QVERIFY(source.statuses().isEmpty());

        const auto save = saveAgent(QStringLiteral("w.plist"), QStringLiteral("w"));
        save->kind = ActionKind::saveAndLoad;
        QVERIFY(m_controller->send(save));
        QVERIFY(changed.wait(30000));
        const auto status = source.status(QStringLiteral("w"));
        QVERIFY(status && status->isLoaded && !status->isRunning && !status->pid);

        const auto unload = Action::make(ActionKind::unload);
        unload->label = QStringLiteral("w");
        QVERIFY(m_controller->send(unload));
        QVERIFY(changed.wait(30000));
        QVERIFY(!source.status(QStringLiteral("w"))->isLoaded);

        // A helper that goes away leaves nothing known, and is asked again.
        killService();
        QTRY_VERIFY_WITH_TIMEOUT(answered.size() >= 4, 30000);
        QCOMPARE(source.backend(), QStringLiteral("state file"));
    }

    void aPrivilegedLocalAgentSaveIsLoadedByTheService() {
        const QString path = inFolder(localAgents(), QStringLiteral("l.plist"));
        const auto save =
            Action::save(path, jobText(QStringLiteral("local")), QStringLiteral("local"));
        save->localAgentLoadPath = path;
        QVERIFY(m_controller->sendPrivileged(save));
        QTRY_VERIFY_WITH_TIMEOUT(serviceState().pathOf(QStringLiteral("local")).has_value(), 30000);
        QCOMPARE(*serviceState().pathOf(QStringLiteral("local")),
                 QFileInfo(path).canonicalFilePath());
        // The follow-up's own success ends the saving state, once.
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, 1, 10000);

        // Removing it: the privileged helper deletes the file, the service unloads it.
        const auto remove = Action::make(ActionKind::remove);
        remove->deleteURL = path;
        remove->label = QStringLiteral("local");
        remove->localAgentUnloadPath = path;
        QVERIFY(m_controller->sendPrivileged(remove));
        QTRY_VERIFY_WITH_TIMEOUT(!serviceState().pathOf(QStringLiteral("local")).has_value(),
                                 30000);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(m_interaction->alerts.isEmpty());
    }

    void withoutPresentErrorAConnectionErrorShowsNothingButDropsTheConnection() {
        const auto uninstall = Action::make(ActionKind::uninstallHelpers);
        uninstall->presentError = false;
        uninstall->cleanUp = false;
        QVERIFY(m_controller->sendPrivileged(uninstall));
        // The privileged helper answers and ends; its connection goes.
        QTRY_VERIFY_WITH_TIMEOUT(
            !m_controller->isHandshaking() && !m_controller->privilegedConnection(), 30000);
        QVERIFY(!m_controller->authData());
        QVERIFY(m_interaction->alerts.isEmpty());
        QCOMPARE(m_delegate->endSavingCount, 0);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestActionController)
#include "test_actioncontroller.moc"

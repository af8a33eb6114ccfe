// The test view's and the log viewer's logic, with the real helpers behind the controller.

#include "actions/actioncontroller.h"
#include "actions/actionstestsupport.h"
#include "common/helpersetup.h"
#include "common/testmain.h"
#include "helper/statefilebackend.h"
#include "model/job.h"
#include "platform/plistcodec.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <signal.h>

using namespace Vandra;

namespace {

using Item = LogSession::Item;

JobPtr jobRunning(const QString &run, Kind kind = Kind::userAgent) {
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->label = QStringLiteral("org.example.job");
    job->setRun(run);
    return job;
}

int unloadsOf(const QString &stateFile, const QString &label) {
    const PlistReadResult read = PlistCodec::readFile(stateFile);
    if (!read.ok() || !read.value->dict())
        return 0;
    const PlistValue *history = read.value->dict()->find(QStringLiteral("History"));
    int count = 0;
    for (const PlistValue &entry : *history->array()) {
        if (entry.dict()->value(QStringLiteral("Operation")).toString() ==
                QStringLiteral("unload") &&
            entry.dict()->value(QStringLiteral("Label")).toString() == label)
            ++count;
    }
    return count;
}

LogEntry entry(qint64 seconds, const QString &message) {
    return {QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc()), message};
}

QStringList messages(const QList<Item> &items) {
    QStringList texts;
    for (const Item &item : items)
        texts.append(item.message);
    return texts;
}

} // namespace

class TestTestRunAndLog : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<RecordingInteraction> m_interaction;
    std::unique_ptr<RecordingDelegate> m_delegate;
    std::unique_ptr<ActionController> m_controller;

    QString socketPath() const { return m_root->path() + QStringLiteral("/run/helper.sock"); }
    QString serviceStateFile() const {
        return Locations::shared().stateDir() + QStringLiteral("/loaded.plist");
    }
    QString privilegedStateFile() const {
        return Locations::shared().underRoot(QStringLiteral("/run/vandra/state/loaded.plist"));
    }

    ActionController::Setup setup() const { return rootedHelperSetup(m_root->path()); }

    // Waits until every earlier request on the service connection has been answered.
    void syncWithService() {
        const int before = m_delegate->reloadCount;
        auto probe = Action::make(Action::Kind::unload);
        probe->label = QStringLiteral("sync");
        QVERIFY(m_controller->send(probe));
        QTRY_COMPARE_WITH_TIMEOUT(m_delegate->reloadCount, before + 1, 30000);
    }

private Q_SLOTS:
    void initTestCase() {
        qputenv("VANDRA_HELPER_IDLE_TIMEOUT", "60");
        qputenv("VANDRA_TEST_TIMEOUT", "5");
    }

    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        Locations::initialize(m_root->path());
        Defaults::shared().reload();
        Defaults::shared().registerDefaults();
        QDir().mkpath(Locations::shared().userLibrary() + QStringLiteral("/LaunchAgents"));
        qputenv("VANDRA_JOURNALCTL", QByteArray());
        qunsetenv("FAKE_JOURNAL_OUTPUT");
        qunsetenv("FAKE_JOURNAL_STATUS");
        qunsetenv("FAKE_JOURNAL_DELAY");
        m_interaction = std::make_unique<RecordingInteraction>();
        m_delegate = std::make_unique<RecordingDelegate>();
        m_controller = std::make_unique<ActionController>(setup());
        m_controller->setDelegate(m_delegate.get());
    }

    void cleanup() {
        m_controller.reset();
        QLockFile lock(socketPath() + QStringLiteral(".lock"));
        qint64 pid = 0;
        QString host;
        QString application;
        if (lock.getLockInfo(&pid, &host, &application) && pid > 0)
            ::kill(pid_t(pid), SIGKILL);
        m_delegate.reset();
        m_interaction.reset();
        m_root.reset();
    }

    // The test view.

    void theTemporaryJobHoldsOnlyTheCommand() {
        const PlistDict job =
            TestRun::temporaryJob({QStringLiteral("/bin/ls"), QStringLiteral("-l")},
                                  QStringLiteral("L"), QStringLiteral("/t/out"));
        QCOMPARE(job.keys(),
                 (QStringList{QStringLiteral("ProgramArguments"), QStringLiteral("Label"),
                              QStringLiteral("RunAtLoad"), QStringLiteral("StandardOutPath"),
                              QStringLiteral("StandardErrorPath"), QStringLiteral("Debug")}));
        QCOMPARE(job.value(QStringLiteral("ProgramArguments")).toStringList(),
                 (QStringList{QStringLiteral("/bin/ls"), QStringLiteral("-l")}));
        QCOMPARE(job.value(QStringLiteral("StandardErrorPath")).toString(),
                 QStringLiteral("/t/out"));
        QCOMPARE(job.value(QStringLiteral("RunAtLoad")).toBool(), true);
    }

    void theCommandGetsItsFolderAndHomeWithAutomaticHelp() {
        Defaults::shared().setValue(UserDefaultsKeys::automaticHelp, true);
        const QStringList arguments = TestRun::programArguments(QStringLiteral("ls ~/Documents"));
        QCOMPARE(arguments.size(), 2);
        QVERIFY2(arguments.at(0).endsWith(QStringLiteral("/ls")) &&
                     QFileInfo(arguments.at(0)).isExecutable(),
                 qPrintable(arguments.at(0)));
        QCOMPARE(arguments.at(1), Locations::shared().home() + QStringLiteral("/Documents"));

        Defaults::shared().setValue(UserDefaultsKeys::automaticHelp, false);
        QCOMPARE(TestRun::programArguments(QStringLiteral("ls ~/Documents")),
                 (QStringList{QStringLiteral("ls"), QStringLiteral("~/Documents")}));
    }

    void anAgentsTestShowsItsOutputAndClosingUnloadsItOnce() {
        TestRun run(*m_controller);
        m_delegate->testRun = &run;
        QSignalSpy shown(&run, &TestRun::outputShown);
        run.appear(jobRunning(QStringLiteral("/bin/sh -c \"echo hello; echo oops >&2\"")));
        QVERIFY(run.isRunning());
        QVERIFY(run.isRemoveTimerActive());
        QVERIFY(m_controller->connection());
        QVERIFY(!m_controller->isHandshaking());
        const auto toRemove = run.jobToRemove();
        QVERIFY(toRemove && !toRemove->privileged);

        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 30000);
        QCOMPARE(shown.at(0).at(0).toString(), QStringLiteral("hello\noops\n"));
        QVERIFY(!run.showsNoError());
        QVERIFY(!run.isRunning());
        QVERIFY(QFileInfo::exists(toRemove->url));

        // Closing before the timer: one unload, and the timer is done.
        run.removeJob();
        QVERIFY(!run.isRemoveTimerActive());
        QVERIFY(!run.jobToRemove());
        run.removeJob();
        syncWithService();
        QCOMPARE(unloadsOf(serviceStateFile(), toRemove->label), 1);
        QVERIFY(!QFileInfo::exists(toRemove->url));
        QVERIFY(QDir(Locations::shared().testJobsDir()).isEmpty());
        QVERIFY(m_interaction->alerts.isEmpty());
    }

    void aTestFolderThatIsALinkIsNeitherChangedNorUsed() {
        // Someone put a link where the test folder goes in the shared temporary folder.
        const QString shared = m_root->path() + QStringLiteral("/shared");
        QVERIFY(QDir().mkpath(shared));
        const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                        QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                        QFile::ExeOther;
        QVERIFY(QFile::setPermissions(shared, open));
        const QString folder = Locations::shared().testJobsDir();
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        QVERIFY(QFile::link(shared, folder));

        TestRun run(*m_controller);
        m_delegate->testRun = &run;
        run.appear(jobRunning(QStringLiteral("/bin/echo hello")));
        QTRY_COMPARE_WITH_TIMEOUT(m_interaction->alerts.size(), 1, 30000);
        QVERIFY(m_delegate->testOutputs.isEmpty());
        QCOMPARE(QFileInfo(shared).permissions() & 0x7077, open & 0x7077);
        QVERIFY(QDir(shared).isEmpty());
    }

    void theTimerUnloadsTheTemporaryJob() {
        auto run = std::make_unique<TestRun>(*m_controller);
        m_delegate->testRun = run.get();
        run->setRemoveDelay(200);
        run->appear(jobRunning(QStringLiteral("/bin/true")));
        const QString label = run->jobToRemove()->label;
        QTRY_VERIFY_WITH_TIMEOUT(!run->jobToRemove(), 10000);
        QTRY_COMPARE_WITH_TIMEOUT(unloadsOf(serviceStateFile(), label), 1, 30000);
        // Going away afterwards sends nothing more.
        run.reset();
        syncWithService();
        QCOMPARE(unloadsOf(serviceStateFile(), label), 1);
    }

    void aCommandThatPrintsNothingShowsTheNoErrorText() {
        TestRun run(*m_controller);
        m_delegate->testRun = &run;
        QSignalSpy shown(&run, &TestRun::outputShown);
        run.appear(jobRunning(QStringLiteral("/bin/true")));
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 30000);
        QCOMPARE(shown.at(0).at(0).toString(), Localize::noError());
        QCOMPARE(shown.at(0).at(1).toBool(), true);
        QVERIFY(run.showsNoError());
    }

    void anEmptyRunBeepsAndSendsNothing() {
        TestRun run(*m_controller);
        QSignalSpy shown(&run, &TestRun::outputShown);
        run.appear(jobRunning(QString()));
        QCOMPARE(m_interaction->beeps, 1);
        QVERIFY(!run.isRunning());
        QVERIFY(run.showsNoError());
        QCOMPARE(shown.size(), 1);
        QVERIFY(!run.jobToRemove());
        QVERIFY(!m_controller->connection());
        run.appear(nullptr);
        QCOMPARE(m_interaction->beeps, 2);
    }

    void aDaemonsTestGoesToThePrivilegedHelper() {
        auto run = std::make_unique<TestRun>(*m_controller);
        m_delegate->testRun = run.get();
        QSignalSpy shown(run.get(), &TestRun::outputShown);
        run->appear(jobRunning(QStringLiteral("/bin/echo root"), Kind::localDaemon));
        QVERIFY(m_controller->isHandshaking());
        QVERIFY(run->jobToRemove()->privileged);
        const QString label = run->jobToRemove()->label;
        // The authorization prompt would close the popover once.
        QVERIFY(!run->shouldClose());
        QVERIFY(run->shouldClose());

        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, 30000);
        QCOMPARE(shown.at(0).at(0).toString(), QStringLiteral("root\n"));
        QVERIFY(m_controller->authData());
        QVERIFY(!m_controller->connection());

        // Closing the view unloads it through the privileged helper.
        run.reset();
        QTRY_COMPARE_WITH_TIMEOUT(unloadsOf(privilegedStateFile(), label), 1, 30000);
    }

    void withoutAHelperTheViewSaysSo() {
        ActionController::Setup none;
        none.serviceSocket = socketPath();
        ActionController controller(none);
        TestRun run(controller);
        QSignalSpy shown(&run, &TestRun::outputShown);
        run.appear(jobRunning(QStringLiteral("/bin/true")));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).at(0).toString(),
                 Localize::couldNotEstablishCommunicationWithHelperTool());
        QVERIFY(!run.jobToRemove());
        QVERIFY(!run.isRemoveTimerActive());
    }

    // The log viewer.

    void theQueryNamesLengthAndPeriod_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("period");
        QTest::addColumn<QString>("lastString");
        QTest::addColumn<QString>("lastSeconds");
        QTest::newRow("4 hours") << 1 << 1 << "4h"
                                 << "14400";
        QTest::newRow("30 days") << 4 << 2 << "30d"
                                 << "2592000";
        QTest::newRow("1 minute") << 0 << 0 << "1m"
                                  << "60";
        QTest::newRow("8 minutes") << 2 << 0 << "8m"
                                   << "480";
        QTest::newRow("no length selected") << -1 << 2 << "1d"
                                            << "86400";
        QTest::newRow("length past the menu") << 5 << 0 << "1m"
                                              << "60";
        QTest::newRow("period past the menu") << 3 << 7 << "16h"
                                              << "57600";
    }

    void theQueryNamesLengthAndPeriod() {
        QFETCH(int, length);
        QFETCH(int, period);
        QFETCH(QString, lastString);
        QFETCH(QString, lastSeconds);
        const auto query = LogSession::query(length, period, QStringLiteral("org.example.job"));
        QCOMPARE(query.value(QStringLiteral("lastString")), lastString);
        QCOMPARE(query.value(QStringLiteral("lastSeconds")), lastSeconds);
        QCOMPARE(query.value(QStringLiteral("searchString")), QStringLiteral("org.example.job"));
        QCOMPARE(query.size(), 3);
    }

    void repliesBecomeRowsThatSortFilterAndCopy() {
        LogSession session(*m_controller);
        QSignalSpy changed(&session, &LogSession::contentChanged);
        session.showEntries({entry(300, QStringLiteral("line 10: ERROR")),
                             entry(100, QStringLiteral("line 2: résumé")),
                             entry(200, QStringLiteral("Line 3: error again"))});
        QCOMPARE(session.content().size(), 3);
        QCOMPARE(session.state(), LogSession::State::rest);
        QVERIFY(changed.size() >= 1);
        QCOMPARE(session.content().at(1).dateRaw, 100.0);
        QVERIFY(!session.content().at(1).dateString.isEmpty());

        session.setSortDescriptor(QStringLiteral("message"), true);
        QCOMPARE(messages(session.content()), (QStringList{QStringLiteral("line 2: résumé"),
                                                           QStringLiteral("Line 3: error again"),
                                                           QStringLiteral("line 10: ERROR")}));
        session.setSortDescriptor(QStringLiteral("date"), false);
        QCOMPARE(messages(session.content()), (QStringList{QStringLiteral("line 10: ERROR"),
                                                           QStringLiteral("Line 3: error again"),
                                                           QStringLiteral("line 2: résumé")}));
        session.setSortDescriptor(QStringLiteral("unknown"), true);
        QCOMPARE(session.content().first().message, QStringLiteral("line 10: ERROR"));

        session.filter(QStringLiteral("ERROR"));
        QCOMPARE(messages(session.content()), (QStringList{QStringLiteral("line 10: ERROR"),
                                                           QStringLiteral("Line 3: error again")}));
        session.filter(QStringLiteral("resume"));
        QCOMPARE(messages(session.content()), QStringList{QStringLiteral("line 2: résumé")});
        session.filter(QString());
        QCOMPARE(messages(session.content()), (QStringList{QStringLiteral("line 10: ERROR"),
                                                           QStringLiteral("Line 3: error again"),
                                                           QStringLiteral("line 2: résumé")}));

        const auto copied = session.copyText({2, 0});
        const Item &first = session.content().at(0);
        const Item &last = session.content().at(2);
        QCOMPARE(copied, std::optional(first.dateString + Const::separator + first.message + u'\n' +
                                       last.dateString + Const::separator + last.message));
        QVERIFY(!session.copyText({}));
        QVERIFY(!session.copyText({7}));
    }

    void aNewReplyIsFilteredByTheTextStillTyped() {
        LogSession session(*m_controller);
        session.showEntries(
            {entry(1, QStringLiteral("old error")), entry(2, QStringLiteral("old note"))});
        session.filter(QStringLiteral("error"));
        session.showEntries(
            {entry(3, QStringLiteral("new error")), entry(4, QStringLiteral("new note"))});
        QCOMPARE(messages(session.content()), QStringList{QStringLiteral("new error")});
        session.filter(QString());
        QCOMPARE(messages(session.content()),
                 (QStringList{QStringLiteral("new error"), QStringLiteral("new note")}));
        session.showEntries({});
        QVERIFY(session.content().isEmpty());
    }

    void logsAreReadWithoutAPasswordWhereThereIsAJournal() {
        // No log file, as on a machine without a syslog daemon: the journal is read first.
        QVERIFY(!LogSession::needsPrivilegedHelper(false, true));
        QVERIFY(!LogSession::needsPrivilegedHelper(true, false));
        QVERIFY(LogSession::needsPrivilegedHelper(false, false));
    }

    void aFetchThroughTheServiceShowsTheJournalLines() {
        const QString canned = m_root->path() + QStringLiteral("/journal.json");
        QFile file(canned);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"__REALTIME_TIMESTAMP":"1700000000000000","MESSAGE":"one"})"
                   "\n"
                   R"({"__REALTIME_TIMESTAMP":"1700000005000000","MESSAGE":"two"})"
                   "\n");
        file.close();
        qputenv("VANDRA_JOURNALCTL", (QStringLiteral("/bin/sh ") +
                                      QDir(qEnvironmentVariable("VANDRA_TEST_DATA"))
                                          .filePath(QStringLiteral("helper/fake-journalctl")))
                                         .toUtf8());
        qputenv("FAKE_JOURNAL_OUTPUT", canned.toUtf8());

        LogSession session(*m_controller);
        session.setUsesPrivilegedHelper(false);
        session.setLengthIndex(1);
        session.setPeriodIndex(0);
        m_delegate->logSession = &session;
        session.fetch(QStringLiteral("org.example.job"));
        QCOMPARE(session.state(), LogSession::State::fetch);
        QVERIFY(!session.isFilterEnabled());
        QCOMPARE(Defaults::shared().logLength(), 1);
        QCOMPARE(Defaults::shared().logPeriod(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(session.state(), LogSession::State::rest, 30000);
        QCOMPARE(messages(session.content()),
                 (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
        QVERIFY(!session.currentAction());
    }

    void aFailingJournalShowsTheLogAlertAndEmptiesTheTable() {
        qputenv("VANDRA_JOURNALCTL", (QStringLiteral("/bin/sh ") +
                                      QDir(qEnvironmentVariable("VANDRA_TEST_DATA"))
                                          .filePath(QStringLiteral("helper/fake-journalctl")))
                                         .toUtf8());
        qputenv("FAKE_JOURNAL_STATUS", "2");
        LogSession session(*m_controller);
        session.setUsesPrivilegedHelper(false);
        m_delegate->logSession = &session;
        session.showEntries({entry(1, QStringLiteral("stale"))});
        session.fetch(QStringLiteral("org.example.job"));
        QTRY_COMPARE_WITH_TIMEOUT(m_interaction->alerts.size(), 1, 30000);
        QCOMPARE(m_interaction->alerts.constFirst().first,
                 Localize::anUnknownErrorOccurredWhenFetchingTheLog());
        QCOMPARE(session.state(), LogSession::State::rest);
        QVERIFY(session.content().isEmpty());
        QVERIFY(!session.currentAction());
    }

    void cancellingAFetchShowsNothingAndLeavesAnEmptyTable() {
        qputenv("VANDRA_JOURNALCTL", (QStringLiteral("/bin/sh ") +
                                      QDir(qEnvironmentVariable("VANDRA_TEST_DATA"))
                                          .filePath(QStringLiteral("helper/fake-journalctl")))
                                         .toUtf8());
        qputenv("FAKE_JOURNAL_DELAY", "20");
        LogSession session(*m_controller);
        session.setUsesPrivilegedHelper(false);
        m_delegate->logSession = &session;
        session.fetch(QStringLiteral("org.example.job"));
        QVERIFY(session.currentConnection());
        session.cancel();
        QCOMPARE(session.state(), LogSession::State::rest);
        QVERIFY(session.content().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!m_controller->connection(), 10000);
        QVERIFY(m_interaction->alerts.isEmpty());
        QVERIFY(m_delegate->logReplies.isEmpty());
    }

    void aFetchThatCannotBeSentComesToRest() {
        ActionController::Setup none;
        none.serviceSocket = socketPath();
        ActionController controller(none);
        LogSession session(controller);
        session.setUsesPrivilegedHelper(false);
        session.showEntries({entry(1, QStringLiteral("stale"))});
        session.fetch(QStringLiteral("org.example.job"));
        QCOMPARE(session.state(), LogSession::State::rest);
        QVERIFY(session.content().isEmpty());
        QVERIFY(!session.currentAction());
        QCOMPARE(m_interaction->alerts.size(), 1);

        // No label: nothing is asked.
        session.fetch(QString());
        QCOMPARE(m_interaction->alerts.size(), 1);
        QCOMPARE(session.state(), LogSession::State::rest);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestTestRunAndLog)
#include "test_testrunandlog.moc"

// The real vandra-agent against a private session bus and a notification service of the
// test's own that records what it is asked to show.

#include "agent/jobtext.h"
#include "common/privatebus.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTest>

using namespace Vandra;

namespace {

const QString notificationsPath = s("/org/freedesktop/Notifications");
const QString notificationsInterface = s("org.freedesktop.Notifications");

bool writeBytes(const QString &file, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(file).path());
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

QString userAgents() {
    return *Kinds::url(Kind::userAgent);
}

// Writes a job file the way the helpers do: a new file renamed over the old one.
QString writeJob(const QString &label, const QString &program = s("/bin/true"),
                 bool isDisabled = false) {
    const QString file = userAgents() + u'/' + label + s(".plist");
    return writeBytes(file, jobText(label, program, isDisabled)) ? file : QString();
}

} // namespace

// Stands in for the desktop's notification service.
class FakeNotifications final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Call {
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Call> calls;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &icon,
                const QString &summary, const QString &body, const QStringList &actions,
                const QVariantMap &hints, int timeout) {
        Q_UNUSED(appName)
        Q_UNUSED(replacesId)
        Q_UNUSED(icon)
        Q_UNUSED(hints)
        Q_UNUSED(timeout)
        calls.append({summary, body, actions});
        return uint(calls.size());
    }
    QStringList GetCapabilities() { return {s("actions"), s("body")}; }
    void CloseNotification(uint id) { Q_UNUSED(id) }
};

// A private bus, the fake service on it, and the agent under a temporary root.
class Session final {
public:
    explicit Session(bool hasService = true) {
        m_bus.setProgram(s("dbus-daemon"));
        const QString config = m_root.write(
            s("bus.conf"), QString::fromUtf8(PrivateBus::configText).arg(m_root.path()).toUtf8());
        m_bus.setArguments({s("--config-file=") + config, s("--print-address"), s("--nofork")});
        m_bus.start();
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
            return;
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        m_connection = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(m_address, s("test-") + m_root.path()));
        if (hasService) {
            m_connection->registerObject(notificationsPath, &fake, QDBusConnection::ExportAllSlots);
            m_connection->registerService(notificationsInterface);
        }
        m_root.write(s("fakebin/vandra"),
                     s("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\n").arg(openedFile()).toUtf8());
        QFile::setPermissions(m_root.path(s("fakebin/vandra")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(userAgents());
    }

    ~Session() {
        for (QProcess *agent : {&m_agent, &m_second}) {
            if (agent->state() != QProcess::NotRunning) {
                agent->kill();
                agent->waitForFinished();
            }
        }
        if (m_connection)
            QDBusConnection::disconnectFromBus(m_connection->name());
        m_bus.kill();
        m_bus.waitForFinished();
    }

    [[nodiscard]] bool isBusUp() const { return m_connection && m_connection->isConnected(); }
    [[nodiscard]] const TestRoot &root() const { return m_root; }
    [[nodiscard]] QString openedFile() const { return m_root.path(s("opened.txt")); }
    QProcess &agent() { return m_agent; }

    // Starts the agent and returns once it watches the folders (its bus name is taken).
    bool startAgent() {
        start(m_agent);
        if (!m_agent.waitForStarted())
            return false;
        const QDeadlineTimer deadline(20000);
        while (!isAgentOnBus() && !deadline.hasExpired() && m_agent.state() == QProcess::Running)
            QTest::qWait(20);
        return isAgentOnBus();
    }

    // Ends the agent as the session does, and says whether it ended cleanly.
    bool stopAgent() {
        m_agent.terminate();
        return m_agent.waitForFinished(20000) && m_agent.exitStatus() == QProcess::NormalExit &&
               m_agent.exitCode() == 0;
    }

    // A second agent in the same session steps back at once.
    bool secondAgentStepsBack() {
        start(m_second);
        return m_second.waitForFinished(20000) && m_second.exitCode() == 0 &&
               m_agent.state() == QProcess::Running;
    }

    void invokeAction(uint id, const QString &action) {
        QDBusMessage signal = QDBusMessage::createSignal(notificationsPath, notificationsInterface,
                                                         s("ActionInvoked"));
        signal << id << action;
        m_connection->send(signal);
    }

    FakeNotifications fake;

private:
    bool isAgentOnBus() const {
        return m_connection->interface()->isServiceRegistered(Const::agent).value();
    }

    void start(QProcess &process) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(s("DBUS_SESSION_BUS_ADDRESS"), m_address);
        environment.insert(s("VANDRA_BIN"), m_root.path(s("fakebin")));
        process.setProcessEnvironment(environment);
        process.setProgram(qEnvironmentVariable("VANDRA_BIN") + s("/vandra-agent"));
        process.setArguments({s("--root"), m_root.path()});
        process.start();
    }

    TestRoot m_root;
    QProcess m_bus;
    QString m_address;
    std::unique_ptr<QDBusConnection> m_connection;
    QProcess m_agent;
    QProcess m_second;
};

class TestAgent : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tellsOfEachChangeToAJobAndShowsItOnRequest() {
        Session session;
        QVERIFY(session.isBusUp());
        QVERIFY(session.startAgent());
        const QList<FakeNotifications::Call> &calls = session.fake.calls;

        const QString file = writeJob(s("com.example.backup"));
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 1, 20000);
        QCOMPARE(calls.at(0).summary, s("Job added"));
        QCOMPARE(calls.at(0).body, s("com.example.backup, a user agent, was added."));
        QVERIFY(calls.at(0).actions.contains(s("show")));
        QVERIFY(calls.at(0).actions.contains(s("Show")));

        // "Show" opens the job in Vandra through its job URL, under the same root.
        session.invokeAction(1, s("show"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(session.openedFile()), 20000);
        QFile opened(session.openedFile());
        QTRY_VERIFY_WITH_TIMEOUT(opened.size() > 0, 20000);
        QVERIFY(opened.open(QIODevice::ReadOnly));
        const QByteArray url =
            "vandra-job://" +
            file.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
        QCOMPARE(opened.readAll(), "--root\n" + session.root().path().toUtf8() + '\n' + url + '\n');

        // An edit in place, as a text editor makes it, counts as much as a replaced file.
        QFile inPlace(file);
        QVERIFY(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
        inPlace.write(jobText(s("com.example.backup"), s("/bin/false")));
        inPlace.close();
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 2, 20000);
        QCOMPARE(calls.at(1).summary, s("Job changed"));

        writeJob(s("com.example.backup"), s("/bin/false"), true);
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 3, 20000);
        QCOMPARE(calls.at(2).summary, s("Job disabled"));

        writeJob(s("com.example.backup"), s("/bin/false"));
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 4, 20000);
        QCOMPARE(calls.at(3).summary, s("Job enabled"));

        QVERIFY(QFile::remove(file));
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), 5, 20000);
        QCOMPARE(calls.at(4).summary, s("Job removed"));
        // A job that is gone has nothing to show.
        QVERIFY(calls.at(4).actions.isEmpty());

        QVERIFY(session.stopAgent());
        // It watched and told, and never wrote a job file.
        QCOMPARE(QDir(userAgents()).entryList(QDir::Files), QStringList());
    }

    void leavesOutTheExceptionsByLabelAndByPrefix() {
        Session session;
        QVERIFY(session.isBusUp());
        const QString exceptions =
            Locations::shared().appSupport() + u'/' + Const::FileName::exceptions;
        const QByteArray withQuiet =
            "<plist version=\"1.0\"><dict><key>exceptions</key><array><string>com.quiet</string>"
            "</array><key>exceptionsPrefix</key><array><string>org.muted.</string></array>"
            "</dict></plist>";
        QVERIFY(writeBytes(exceptions, withQuiet));
        QVERIFY(session.startAgent());
        const QList<FakeNotifications::Call> &calls = session.fake.calls;

        writeJob(s("com.quiet"));
        writeJob(s("org.muted.sync"));
        writeJob(s("com.loud"));
        QTRY_VERIFY_WITH_TIMEOUT(!calls.isEmpty() && calls.last().body.startsWith(s("com.loud")),
                                 20000);
        for (const FakeNotifications::Call &call : calls)
            QVERIFY2(call.body.startsWith(s("com.loud")), qPrintable(call.body));

        // A new list in the file holds from the next change on.
        QVERIFY(writeBytes(exceptions, "<plist version=\"1.0\"><dict><key>exceptions</key>"
                                       "<array><string>com.loud</string></array></dict></plist>"));
        const qsizetype before = calls.size();
        writeJob(s("com.quiet"), s("/bin/false"));
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), before + 1, 20000);
        QCOMPARE(calls.last().body, s("com.quiet, a user agent, was changed."));
        writeJob(s("org.muted.sync"), s("/bin/false"));
        writeJob(s("com.loud"), s("/bin/false"));
        QTRY_COMPARE_WITH_TIMEOUT(calls.size(), before + 2, 20000);
        QCOMPARE(calls.last().body, s("org.muted.sync, a user agent, was changed."));
    }

    void reportsWhatChangedWhileItWasStopped() {
        Session session;
        QVERIFY(session.isBusUp());
        writeJob(s("com.example.a"));
        // The first run ever only takes note of what is there.
        QVERIFY(session.startAgent());
        QVERIFY(session.stopAgent());
        QVERIFY(session.fake.calls.isEmpty());

        writeJob(s("com.example.a"), s("/bin/true"), true);
        QVERIFY(session.startAgent());
        QTRY_COMPARE_WITH_TIMEOUT(session.fake.calls.size(), 1, 20000);
        QCOMPARE(session.fake.calls.at(0).summary, s("Job disabled"));
        QVERIFY(session.stopAgent());

        // Many changes at once come as one notification.
        for (const char *label : {"b", "c", "d", "e"})
            writeJob(s("com.example.") + QString::fromLatin1(label));
        QVERIFY(QFile::remove(userAgents() + s("/com.example.a.plist")));
        QVERIFY(session.startAgent());
        QTRY_COMPARE_WITH_TIMEOUT(session.fake.calls.size(), 2, 20000);
        const FakeNotifications::Call &batch = session.fake.calls.at(1);
        QCOMPARE(batch.summary, s("5 jobs changed"));
        QCOMPARE(batch.body.split(u'\n'),
                 (QStringList{s("com.example.a, a user agent, was removed."),
                              s("com.example.b, a user agent, was added."),
                              s("com.example.c, a user agent, was added."),
                              s("com.example.d, a user agent, was added."),
                              s("com.example.e, a user agent, was added.")}));
        QVERIFY(session.stopAgent());
    }

    void aBurstOfChangesIsOneNotification() {
        Session session;
        QVERIFY(session.isBusUp());
        QVERIFY(QDir(userAgents()).removeRecursively());
        QVERIFY(session.startAgent());

        // The whole folder arrives at once, as a restore from a backup brings it.
        const QString staging = session.root().path(s("staging"));
        QVERIFY(QDir().mkpath(staging));
        for (int i = 0; i < 12; ++i) {
            QVERIFY(writeBytes(
                staging + s("/job%1.plist").arg(i),
                jobText(s("com.burst.%1").arg(i, 2, 10, QLatin1Char('0')), s("/bin/true"))));
        }
        QVERIFY(QDir().rename(staging, userAgents()));
        QTRY_COMPARE_WITH_TIMEOUT(session.fake.calls.size(), 1, 20000);
        const FakeNotifications::Call &batch = session.fake.calls.at(0);
        QCOMPARE(batch.summary, s("12 jobs changed"));
        const QStringList lines = batch.body.split(u'\n');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.first(), s("com.burst.00, a user agent, was added."));
        QCOMPARE(lines.last(), s("And 4 more."));
        QVERIFY(batch.actions.isEmpty());

        // The next single change is told on its own again.
        writeJob(s("com.single"));
        QTRY_COMPARE_WITH_TIMEOUT(session.fake.calls.size(), 2, 20000);
        QCOMPARE(session.fake.calls.at(1).summary, s("Job added"));
    }

    void endsWhenSwitchedOffInThePreferences() {
        Session session;
        QVERIFY(session.isBusUp());
        QVERIFY(session.startAgent());
        Defaults::shared().setValue(UserDefaultsKeys::automaticHelp, false);
        QTest::qWait(200);
        QCOMPARE(session.agent().state(), QProcess::Running);
        Defaults::shared().setValue(UserDefaultsKeys::runAgent, false);
        QVERIFY(session.agent().waitForFinished(20000));
        QCOMPARE(session.agent().exitStatus(), QProcess::NormalExit);
        QCOMPARE(session.agent().exitCode(), 0);
    }

    void logsAndKeepsRunningWithoutANotificationService() {
        Session session(false);
        QVERIFY(session.isBusUp());
        QVERIFY(session.startAgent());
        QVERIFY(session.secondAgentStepsBack());

        writeJob(s("com.example.unheard"));
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT(
            (errors += session.agent().readAllStandardError())
                .contains("Job added: com.example.unheard, a user agent, was added."),
            20000);
        QCOMPARE(session.agent().state(), QProcess::Running);
        QVERIFY(session.stopAgent());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestAgent)
#include "test_agent.moc"

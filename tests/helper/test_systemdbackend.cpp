#include "common/testmain.h"
#include "helper/logreader.h"
#include "helper/statefilebackend.h"
#include "helper/systemdbackend.h"
#include "helper/systemdwatcher.h"
#include "helpertestsupport.h"
#include "platform/plistcodec.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimeZone>

using namespace Vandra;

using namespace Qt::Literals::StringLiterals;

// A stand-in for systemd's manager on a private bus: it records every call and knows a few
// units from files of its own, as a machine's packages would install them.
class FakeManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.systemd1.Manager")
    Q_PROPERTY(QString Version READ version)

public:
    QString version() const { return u"252"_s; }

    QStringList calls() {
        QMutexLocker locker(&m_mutex);
        return m_calls;
    }
    void clearCalls() {
        QMutexLocker locker(&m_mutex);
        m_calls.clear();
    }
    void addForeignUnit(const QString &name, const QString &file) {
        QMutexLocker locker(&m_mutex);
        m_foreign.insert(name, file);
    }
    QString fragmentOfLastLoaded() {
        QMutexLocker locker(&m_mutex);
        return m_foreign.value(m_lastLoaded);
    }
    // The properties of a unit, as the manager would report them.
    void setState(const QString &name, const QVariantMap &state) {
        QMutexLocker locker(&m_mutex);
        m_state.insert(name, state);
    }
    QVariant stateOfLastLoaded(const QString &key, const QVariant &otherwise) {
        QMutexLocker locker(&m_mutex);
        return m_state.value(m_lastLoaded).value(key, otherwise);
    }

public slots:
    void Reload() { record(u"Reload"_s); }
    void Subscribe() { record(u"Subscribe"_s); }
    bool EnableUnitFiles(const QStringList &files, bool, bool) {
        QStringList names;
        for (const QString &file : files)
            names.append(QFileInfo(file).fileName());
        record(u"Enable "_s + names.join(QLatin1Char(' ')));
        return true;
    }
    void DisableUnitFiles(const QStringList &names, bool) {
        record(u"Disable "_s + names.join(QLatin1Char(' ')));
    }
    QDBusObjectPath StartUnit(const QString &name, const QString &) {
        record(u"Start "_s + name);
        return QDBusObjectPath(u"/org/freedesktop/systemd1/job/1"_s);
    }
    QDBusObjectPath StopUnit(const QString &name, const QString &) {
        record(u"Stop "_s + name);
        return QDBusObjectPath(u"/org/freedesktop/systemd1/job/2"_s);
    }
    QDBusObjectPath LoadUnit(const QString &name) {
        QMutexLocker locker(&m_mutex);
        m_lastLoaded = name;
        return QDBusObjectPath(u"/org/freedesktop/systemd1/unit/any"_s);
    }

private:
    void record(const QString &call) {
        QMutexLocker locker(&m_mutex);
        m_calls.append(call);
    }

    QMutex m_mutex;
    QStringList m_calls;
    QHash<QString, QString> m_foreign;
    QHash<QString, QVariantMap> m_state;
    QString m_lastLoaded;
};

// The unit object LoadUnit hands out, for the unit named last.
class FakeUnit final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.systemd1.Unit")
    Q_PROPERTY(QString FragmentPath READ fragmentPath)
    Q_PROPERTY(QString LoadState READ loadState)
    Q_PROPERTY(QString ActiveState READ activeState)
    Q_PROPERTY(QString SubState READ subState)

public:
    explicit FakeUnit(FakeManager *manager)
        : m_manager(manager) {}
    FakeManager *manager() const { return m_manager; }
    QString fragmentPath() const { return m_manager->fragmentOfLastLoaded(); }
    QString loadState() const { return state(u"LoadState"_s, u"not-found"_s).toString(); }
    QString activeState() const { return state(u"ActiveState"_s, u"inactive"_s).toString(); }
    QString subState() const { return state(u"SubState"_s, u"dead"_s).toString(); }
    QVariant state(const QString &key, const QVariant &otherwise) const {
        return m_manager->stateOfLastLoaded(key, otherwise);
    }

private:
    FakeManager *m_manager;
};

class FakeServiceAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.systemd1.Service")
    Q_PROPERTY(uint MainPID READ mainPid)
    Q_PROPERTY(int ExecMainStatus READ status)
    Q_PROPERTY(qulonglong ExecMainExitTimestamp READ exitTime)

public:
    explicit FakeServiceAdaptor(FakeUnit *unit)
        : QDBusAbstractAdaptor(unit)
        , m_unit(unit) {}
    uint mainPid() const { return m_unit->state(u"MainPID"_s, 0u).toUInt(); }
    int status() const { return m_unit->state(u"ExecMainStatus"_s, 0).toInt(); }
    qulonglong exitTime() const {
        return m_unit->state(u"ExecMainExitTimestamp"_s, 0ULL).toULongLong();
    }

private:
    FakeUnit *m_unit;
};

class FakeTimerAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.systemd1.Timer")
    Q_PROPERTY(qulonglong NextElapseUSecRealtime READ nextElapse)

public:
    explicit FakeTimerAdaptor(FakeUnit *unit)
        : QDBusAbstractAdaptor(unit)
        , m_unit(unit) {}
    qulonglong nextElapse() const {
        return m_unit->state(u"NextElapseUSecRealtime"_s, 0ULL).toULongLong();
    }

private:
    FakeUnit *m_unit;
};

class TestSystemdBackend final : public QObject {
    Q_OBJECT

private:
    QProcess m_bus;
    QString m_address;
    QThread m_managerThread;
    FakeManager *m_manager = nullptr;
    FakeUnit *m_unit = nullptr;
    QTemporaryDir m_dir;

    QString unitFolder() const { return m_dir.path() + u"/units"_s; }
    QString testFolder() const { return m_dir.path() + u"/tests"_s; }

    QString agentFolder() const { return m_dir.path() + u"/etc/systemd/user"_s; }
    QString packagedAgentFolder() const { return m_dir.path() + u"/usr/lib/systemd/user"_s; }

    // The user's manager, or with agents the system's, whose agents become global user units.
    std::unique_ptr<SystemdBackend> backend(bool withAgents = false) {
        const QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"backend"_s);
        return std::make_unique<SystemdBackend>(
            SystemdManager(bus),
            SystemdBackend::Setup{
                withAgents ? SystemdScope::system : SystemdScope::user, unitFolder(),
                withAgents ? agentFolder() : QString(),
                withAgents ? QStringList{packagedAgentFolder()} : QStringList(), testFolder(),
                std::make_unique<StateFileBackend>(m_dir.path() + u"/state/loaded.plist"_s)});
    }

    QString writeJob(const QString &name, const PlistDict &dict) {
        const QString path = m_dir.path() + u"/jobs/"_s + name;
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(*PlistCodec::toXml(PlistValue(dict)));
        return path;
    }

    // A job's status in a status reply; a missing one reads as not loaded.
    static JobStatus statusOf(const PlistDict &reply, const QString &label) {
        const PlistValue *jobs = reply.find(u"status"_s);
        const PlistValue *job = jobs && jobs->dict() ? jobs->dict()->find(label) : nullptr;
        return job && job->dict() ? JobStatus::fromDict(*job->dict()) : JobStatus();
    }

    QString unitText(const QString &name) const {
        QFile file(unitFolder() + QLatin1Char('/') + name);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private slots:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty())
            QSKIP("dbus-daemon is not installed");
        m_bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
        QVERIFY(m_bus.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());

        // The manager answers from a thread of its own, since the backend waits for replies.
        m_manager = new FakeManager;
        m_unit = new FakeUnit(m_manager);
        new FakeServiceAdaptor(m_unit);
        new FakeTimerAdaptor(m_unit);
        m_manager->moveToThread(&m_managerThread);
        m_unit->moveToThread(&m_managerThread);
        m_managerThread.start();
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"manager"_s);
        QVERIFY(bus.isConnected());
        QVERIFY(bus.registerObject(SystemdManager::path, m_manager,
                                   QDBusConnection::ExportAllSlots |
                                       QDBusConnection::ExportAllProperties));
        QVERIFY(bus.registerObject(u"/org/freedesktop/systemd1/unit/any"_s, m_unit,
                                   QDBusConnection::ExportAllProperties |
                                       QDBusConnection::ExportAdaptors));
        QVERIFY(bus.registerService(SystemdManager::service));
    }

    void cleanupTestCase() {
        QDBusConnection::disconnectFromBus(u"manager"_s);
        QDBusConnection::disconnectFromBus(u"backend"_s);
        // Deleted in the thread they live in, which is still running.
        QMetaObject::invokeMethod(
            m_manager,
            [this] {
                delete m_unit;
                delete m_manager;
            },
            Qt::BlockingQueuedConnection);
        m_managerThread.quit();
        m_managerThread.wait();
        m_bus.terminate();
        m_bus.waitForFinished(5000);
    }

    void init() { m_manager->clearCalls(); }

    void theManagerIsReachableOnlyWhereItAnswers() {
        QVERIFY(
            SystemdManager(QDBusConnection::connectToBus(m_address, u"backend"_s)).isReachable());
        QProcess otherBus;
        otherBus.start(u"dbus-daemon"_s, {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
        QVERIFY(otherBus.waitForReadyRead(10000));
        const QString address = QString::fromUtf8(otherBus.readLine()).trimmed();
        QVERIFY(!SystemdManager(QDBusConnection::connectToBus(address, u"empty"_s)).isReachable());
        QDBusConnection::disconnectFromBus(u"empty"_s);
        otherBus.terminate();
        otherBus.waitForFinished(5000);
    }

    void loadWritesEnablesAndStartsUnitsAndUnloadTakesThemAway() {
        const QString job = writeJob(u"sync.plist"_s, {{u"Label"_s, u"org.example.sync"_s},
                                                       {u"Program"_s, u"/bin/true"_s},
                                                       {u"RunAtLoad"_s, true},
                                                       {u"StartInterval"_s, 900}});
        auto systemd = backend();
        QString error;
        QVERIFY2(systemd->load(u"org.example.sync"_s, job, &error), qPrintable(error));
        QCOMPARE(
            m_manager->calls(),
            QStringList({u"Reload"_s, u"Enable org.example.sync.service org.example.sync.timer"_s,
                         u"Start org.example.sync.service"_s, u"Start org.example.sync.timer"_s}));
        QVERIFY(unitText(u"org.example.sync.timer"_s).contains(u"OnUnitActiveSec=900"_s));
        QVERIFY(systemd->isLoaded(u"org.example.sync"_s));
        QCOMPARE(systemd->pathOf(u"org.example.sync"_s), job);
        QVERIFY(systemd->status(u"org.example.sync"_s));
        QCOMPARE(systemd->status(u"org.example.other"_s), std::nullopt);

        // Loading again without the interval takes the timer away first.
        writeJob(u"sync.plist"_s, {{u"Label"_s, u"org.example.sync"_s},
                                   {u"Program"_s, u"/bin/true"_s},
                                   {u"RunAtLoad"_s, true}});
        m_manager->clearCalls();
        QVERIFY2(systemd->load(u"org.example.sync"_s, job, &error), qPrintable(error));
        QCOMPARE(m_manager->calls().mid(0, 4),
                 QStringList({u"Stop org.example.sync.timer"_s, u"Stop org.example.sync.service"_s,
                              u"Disable org.example.sync.timer org.example.sync.service"_s,
                              u"Reload"_s}));
        QVERIFY(!QFileInfo::exists(unitFolder() + u"/org.example.sync.timer"_s));

        m_manager->clearCalls();
        QVERIFY2(systemd->unload(std::nullopt, job, &error), qPrintable(error));
        QCOMPARE(m_manager->calls(),
                 QStringList({u"Stop org.example.sync.service"_s,
                              u"Disable org.example.sync.service"_s, u"Reload"_s}));
        QVERIFY(QDir(unitFolder()).isEmpty());
        QVERIFY(!systemd->isLoaded(u"org.example.sync"_s));
        // Unloading what is not loaded succeeds and asks nothing of the manager.
        m_manager->clearCalls();
        QVERIFY(systemd->unload(u"org.example.sync"_s, job, &error));
        QVERIFY(m_manager->calls().isEmpty());
    }

    void aDisabledJobIsWrittenButNotEnabled() {
        const QString job = writeJob(u"off.plist"_s, {{u"Label"_s, u"off"_s},
                                                      {u"Program"_s, u"/bin/true"_s},
                                                      {u"KeepAlive"_s, true},
                                                      {u"Disabled"_s, true}});
        auto systemd = backend();
        QString error;
        QVERIFY2(systemd->load(u"off"_s, job, &error), qPrintable(error));
        QCOMPARE(m_manager->calls(), QStringList{u"Reload"_s});
        QVERIFY(unitText(u"off.service"_s).contains(u"Restart=always"_s));
        QVERIFY(systemd->unload(u"off"_s, std::nullopt, &error));
    }

    void unitsThatAreNotOursAreNeverTouched() {
        auto systemd = backend();
        QString error;
        // A unit of the same name in our folder, written by someone else.
        QDir().mkpath(unitFolder());
        QFile foreign(unitFolder() + u"/mine.service"_s);
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("[Service]\nExecStart=/bin/true\n");
        foreign.close();
        const QString job =
            writeJob(u"mine.plist"_s, {{u"Label"_s, u"mine"_s}, {u"Program"_s, u"/bin/true"_s}});
        QVERIFY(!systemd->load(u"mine"_s, job, &error));
        QVERIFY2(error.contains(u"mine.service is a unit that Vandra did not write"_s),
                 qPrintable(error));
        QVERIFY(!systemd->unload(u"mine"_s, std::nullopt, &error));
        QCOMPARE(unitText(u"mine.service"_s), u"[Service]\nExecStart=/bin/true\n"_s);
        QVERIFY(!systemd->isLoaded(u"mine"_s));

        // A unit the manager reads from elsewhere.
        m_manager->addForeignUnit(u"sshd.service"_s, u"/usr/lib/systemd/system/sshd.service"_s);
        const QString sshd =
            writeJob(u"sshd.plist"_s, {{u"Label"_s, u"sshd"_s}, {u"Program"_s, u"/bin/true"_s}});
        m_manager->clearCalls();
        QVERIFY(!systemd->load(u"sshd"_s, sshd, &error));
        QVERIFY2(error.contains(u"/usr/lib/systemd/system/sshd.service"_s), qPrintable(error));
        QVERIFY(m_manager->calls().isEmpty());
        QVERIFY(!QFileInfo::exists(unitFolder() + u"/sshd.service"_s));
        QFile::remove(foreign.fileName());
    }

    void agentsForEveryUserBecomeGlobalUserUnitsWithoutTheSystemManager() {
        auto systemd = backend(true);
        const QString agent =
            writeJob(u"LaunchAgents/tray.plist"_s, {{u"Label"_s, u"tray"_s},
                                                    {u"Program"_s, u"/bin/true"_s},
                                                    {u"RunAtLoad"_s, true},
                                                    {u"StartInterval"_s, 60}});
        QString error;
        QVERIFY2(systemd->load(u"tray"_s, agent, &error), qPrintable(error));
        QVERIFY(m_manager->calls().isEmpty());
        QVERIFY(QFileInfo::exists(agentFolder() + u"/tray.service"_s));
        QCOMPARE(QFileInfo(agentFolder() + u"/default.target.wants/tray.service"_s).symLinkTarget(),
                 agentFolder() + u"/tray.service"_s);
        QVERIFY(QFileInfo(agentFolder() + u"/timers.target.wants/tray.timer"_s).exists());
        QVERIFY(!QFileInfo::exists(unitFolder() + u"/tray.service"_s));
        QCOMPARE(systemd->pathOf(u"tray"_s), agent);

        QVERIFY2(systemd->unload(u"tray"_s, std::nullopt, &error), qPrintable(error));
        QVERIFY(QDir(agentFolder()).entryList(QDir::Files).isEmpty());
        QVERIFY(!QFileInfo(agentFolder() + u"/default.target.wants/tray.service"_s).isSymLink());
        QVERIFY(m_manager->calls().isEmpty());

        // A user unit that a package installed keeps its name.
        QDir().mkpath(packagedAgentFolder());
        QFile packaged(packagedAgentFolder() + u"/pipewire.service"_s);
        QVERIFY(packaged.open(QIODevice::WriteOnly));
        packaged.close();
        const QString pipewire =
            writeJob(u"LaunchAgents/pipewire.plist"_s,
                     {{u"Label"_s, u"pipewire"_s}, {u"Program"_s, u"/bin/true"_s}});
        QVERIFY(!systemd->load(u"pipewire"_s, pipewire, &error));
        QVERIFY2(error.contains(packaged.fileName()), qPrintable(error));

        // Daemons still go to the system manager.
        const QString daemon = writeJob(
            u"LaunchDaemons/d.plist"_s,
            {{u"Label"_s, u"d"_s}, {u"Program"_s, u"/bin/true"_s}, {u"KeepAlive"_s, true}});
        QVERIFY2(systemd->load(u"d"_s, daemon, &error), qPrintable(error));
        QVERIFY(unitText(u"d.service"_s).contains(u"WantedBy=multi-user.target"_s));
        QVERIFY(m_manager->calls().contains(u"Start d.service"_s));
        QVERIFY(systemd->unload(u"d"_s, daemon, &error));
    }

    void liveStatusComesFromTheManagerAndItsChangeSignals() {
        m_manager->setState(u"live.service"_s, {{u"LoadState"_s, u"loaded"_s},
                                                {u"ActiveState"_s, u"active"_s},
                                                {u"SubState"_s, u"running"_s},
                                                {u"MainPID"_s, 4242u},
                                                {u"ExecMainStatus"_s, 3},
                                                {u"ExecMainExitTimestamp"_s, 1700000000000000ULL}});
        m_manager->setState(u"live.timer"_s, {{u"LoadState"_s, u"loaded"_s},
                                              {u"NextElapseUSecRealtime"_s, 1800000000000000ULL}});
        const QDBusConnection bus = QDBusConnection::connectToBus(m_address, u"backend"_s);
        const SystemdStatus status = SystemdManager(bus).status(u"live.service"_s, u"live.timer"_s);
        QVERIFY(status.isLoaded);
        QVERIFY(status.isRunning);
        QCOMPARE(status.pid, 4242);
        QCOMPARE(status.lastExitStatus, 3);
        QCOMPARE(status.lastExitTime, QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc()));
        QCOMPARE(status.nextRun, QDateTime::fromSecsSinceEpoch(1800000000, QTimeZone::utc()));
        QCOMPARE(SystemdManager(bus).status(u"gone.service"_s, QString()), SystemdStatus());

        SystemdWatcher watcher(bus);
        QVERIFY(watcher.start());
        QVERIFY(m_manager->calls().contains(u"Subscribe"_s));
        QSignalSpy changed(&watcher, &SystemdWatcher::unitChanged);
        QDBusMessage signal = QDBusMessage::createSignal(
            u"/org/freedesktop/systemd1/unit/org_2eexample_2dlive_2eservice"_s,
            u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
        signal << u"org.freedesktop.systemd1.Unit"_s << QVariantMap{} << QStringList{};
        QVERIFY(QDBusConnection(u"manager"_s).send(signal));
        QVERIFY(changed.wait(10000));
        QCOMPARE(changed.first().first().toString(), u"org.example-live.service"_s);
    }

    void startAndStopActOnTheJobsServiceOnly() {
        const QString job = writeJob(u"run.plist"_s, {{u"Label"_s, u"org.example.run"_s},
                                                      {u"Program"_s, u"/bin/true"_s},
                                                      {u"StartInterval"_s, 300}});
        auto systemd = backend();
        QString error;
        QVERIFY2(systemd->load(u"org.example.run"_s, job, &error), qPrintable(error));
        QCOMPARE(systemd->loadedLabels(), QStringList{u"org.example.run"_s});
        m_manager->clearCalls();
        QVERIFY2(systemd->start(u"org.example.run"_s, &error), qPrintable(error));
        QVERIFY2(systemd->stop(u"org.example.run"_s, &error), qPrintable(error));
        QCOMPARE(m_manager->calls(), QStringList({u"Start org.example.run.service"_s,
                                                  u"Stop org.example.run.service"_s}));

        // A job that is not loaded is not started, and stopping it has nothing to do.
        m_manager->clearCalls();
        QVERIFY(!systemd->start(u"org.example.other"_s, &error));
        QVERIFY2(error.contains(u"not loaded"_s), qPrintable(error));
        QVERIFY(systemd->stop(u"org.example.other"_s, &error));
        // Nor is a unit of the same name that we did not write.
        QFile foreign(unitFolder() + u"/theirs.service"_s);
        QVERIFY(foreign.open(QIODevice::WriteOnly));
        foreign.write("[Service]\nExecStart=/bin/true\n");
        foreign.close();
        QVERIFY(!systemd->start(u"theirs"_s, &error));
        QVERIFY(m_manager->calls().isEmpty());
        QVERIFY(!systemd->loadedLabels().contains(u"theirs"_s));
        QFile::remove(foreign.fileName());
        QVERIFY(systemd->unload(u"org.example.run"_s, job, &error));
        m_manager->clearCalls();

        // Agents for every user run in users' sessions, out of the system manager's reach.
        auto machine = backend(true);
        const QString agent = writeJob(u"LaunchAgents/every.plist"_s,
                                       {{u"Label"_s, u"every"_s}, {u"Program"_s, u"/bin/true"_s}});
        QVERIFY2(machine->load(u"every"_s, agent, &error), qPrintable(error));
        QVERIFY(!machine->start(u"every"_s, &error));
        QVERIFY2(error.contains(u"each user's own session"_s), qPrintable(error));
        QCOMPARE(machine->status(u"every"_s), (JobStatus{true, false, {}, {}, {}, {}}));
        QVERIFY(m_manager->calls().isEmpty());
        QVERIFY(machine->unload(u"every"_s, agent, &error));
    }

    void theHelperTellsLiveStatusAndAnswersAWaitingRequestWhenAUnitChanges() {
        QTemporaryDir root;
        const QString socket = root.path() + u"/h.sock"_s;
        QProcess helper;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"VANDRA_SYSTEMD_BUS"_s, m_address);
        environment.insert(u"VANDRA_JOURNALCTL"_s,
                           u"/bin/sh "_s + HelperTest::dataPath(u"fake-journalctl"_s));
        environment.insert(u"FAKE_JOURNAL_ARGUMENTS"_s, root.path() + u"/journal-arguments"_s);
        helper.setProcessEnvironment(environment);
        helper.start(HelperTest::program(u"vandra-helper"_s),
                     {u"--root"_s, root.path(), u"--socket"_s, socket});
        QVERIFY(HelperTest::waitForListener(socket));
        const QString job = root.path() + u"/home/.config/vandra/LaunchAgents/live.plist"_s;
        QDir().mkpath(QFileInfo(job).path());
        const PlistDict dict{{u"Label"_s, u"org.example.live"_s}, {u"Program"_s, u"/bin/sleep"_s}};
        m_manager->setState(u"org.example.live.service"_s, {{u"LoadState"_s, u"loaded"_s},
                                                            {u"ActiveState"_s, u"active"_s},
                                                            {u"SubState"_s, u"running"_s},
                                                            {u"MainPID"_s, 77u}});
        HelperTest::Client client(socket);
        const auto saved = client.request(
            {{u"kind"_s, 1},
             {u"path"_s, job},
             {u"string"_s, QString::fromUtf8(*PlistCodec::toXml(PlistValue(dict)))}});
        QVERIFY(saved && !saved->contains(u"error"_s));

        const auto first = client.request({{u"kind"_s, 12}});
        QVERIFY(first);
        QCOMPARE(first->value(u"backend"_s).toString(), u"systemd"_s);
        QCOMPARE(statusOf(*first, u"org.example.live"_s).pid, 77);
        const qint64 generation = *first->value(u"generation"_s).toInteger();

        // Start is the manager's StartUnit on the job's service.
        m_manager->clearCalls();
        const auto started = client.request({{u"kind"_s, 10}, {u"label"_s, u"org.example.live"_s}});
        QVERIFY(started && !started->contains(u"error"_s));
        QCOMPARE(m_manager->calls(), QStringList{u"Start org.example.live.service"_s});

        // A request for changes since the status now is held until a unit of ours changes.
        const auto now = client.request({{u"kind"_s, 12}});
        QVERIFY(now && *now->value(u"generation"_s).toInteger() != generation);
        QVERIFY(client.send(
            {{u"kind"_s, 12}, {u"changedSince"_s, *now->value(u"generation"_s).toInteger()}}));
        QVERIFY(!client.reply(300));
        m_manager->setState(u"org.example.live.service"_s,
                            {{u"LoadState"_s, u"loaded"_s},
                             {u"ExecMainStatus"_s, 2},
                             {u"ExecMainExitTimestamp"_s, 1700000000000000ULL}});
        QDBusMessage signal = QDBusMessage::createSignal(
            u"/org/freedesktop/systemd1/unit/org_2eexample_2elive_2eservice"_s,
            u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s);
        signal << u"org.freedesktop.systemd1.Unit"_s << QVariantMap{} << QStringList{};
        QVERIFY(QDBusConnection(u"manager"_s).send(signal));
        const auto changed = client.reply(20000);
        QVERIFY(changed);
        const JobStatus after = statusOf(*changed, u"org.example.live"_s);
        QVERIFY(!after.isRunning);
        QCOMPARE(after.lastExitStatus, 2);
        QCOMPARE(after.lastExitTime, QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc()));

        // Its log is its user unit's journal.
        const auto log = client.request(
            {{u"kind"_s, 9},
             {u"logQuery"_s, PlistDict{{u"lastString"_s, u"1h"_s},
                                       {u"lastSeconds"_s, u"3600"_s},
                                       {u"searchString"_s, u"org.example.live"_s}}}});
        QVERIFY(log && !log->contains(u"error"_s));
        QFile passed(root.path() + u"/journal-arguments"_s);
        QVERIFY(passed.open(QIODevice::ReadOnly));
        QVERIFY(passed.readAll().contains("--user-unit=org.example.live.service\n"));

        QVERIFY(client.request({{u"kind"_s, 4}, {u"label"_s, u"org.example.live"_s}}));
        helper.terminate();
        QVERIFY(helper.waitForFinished(10000));
    }

    void theJournalOfAJobIsReadByItsUnit() {
        LogReader::Query query{u"org.example.job"_s, 3600, u"org.example.job.service"_s, false};
        QStringList arguments = LogReader::journalArguments(query, 1700000000);
        QCOMPARE(arguments,
                 QStringList({u"--no-pager"_s, u"--output=json"_s, u"--since=@1700000000"_s,
                              u"--lines=2000"_s, u"--unit=org.example.job.service"_s}));
        query.isUserUnit = true;
        QCOMPARE(LogReader::journalArguments(query, 1700000000).constLast(),
                 u"--user-unit=org.example.job.service"_s);
        // A job systemd does not run is found by its label in the text.
        query.unit.clear();
        QVERIFY(LogReader::journalArguments(query, 0).contains(u"--grep=org\\.example\\.job"_s));

        const QString journalctl = QStandardPaths::findExecutable(u"journalctl"_s);
        if (journalctl.isEmpty())
            QSKIP("journalctl is not installed");
        for (const bool isUserUnit : {false, true}) {
            query = {u"vandra.absent"_s, 60, u"vandra-absent.service"_s, isUserUnit};
            QProcess reader;
            reader.start(journalctl, LogReader::journalArguments(
                                         query, QDateTime::currentSecsSinceEpoch() - 60));
            QVERIFY(reader.waitForFinished(30000));
            if (reader.exitCode() != 0)
                QSKIP(qPrintable(u"journalctl does not read this machine's journal: "_s +
                                 QString::fromLocal8Bit(reader.readAllStandardError())));
            QVERIFY(LogReader::parseJournal(reader.readAllStandardOutput()).isEmpty());
        }
    }

    void testJobsAreRecordedNotRunBySystemd() {
        const QString job = testFolder() + u"/test-1.plist"_s;
        QDir().mkpath(testFolder());
        auto systemd = backend();
        QString error;
        QVERIFY(systemd->load(u"test.label"_s, job, &error));
        QVERIFY(systemd->isLoaded(u"test.label"_s));
        QVERIFY(systemd->unload(u"test.label"_s, job, &error));
        QVERIFY(!systemd->isLoaded(u"test.label"_s));
        QVERIFY(m_manager->calls().isEmpty());
    }

    void theHelperChoosesSystemdWhenAManagerAnswersAndElseTheStateFile() {
        for (const bool withManager : {true, false}) {
            QProcess otherBus;
            QString address = m_address;
            if (!withManager) {
                otherBus.start(u"dbus-daemon"_s,
                               {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
                QVERIFY(otherBus.waitForReadyRead(10000));
                address = QString::fromUtf8(otherBus.readLine()).trimmed();
            }
            QTemporaryDir root;
            const QString socket = root.path() + u"/h.sock"_s;
            QProcess helper;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"VANDRA_SYSTEMD_BUS"_s, address);
            helper.setProcessEnvironment(environment);
            helper.start(
                HelperTest::program(u"vandra-helper"_s),
                {u"--root"_s, root.path(), u"--socket"_s, socket, u"--idle-timeout"_s, u"5"_s});
            QVERIFY(HelperTest::waitForListener(socket));

            // A saved and loaded user agent becomes units in the user's unit folder.
            const QString job = root.path() + u"/home/.config/vandra/LaunchAgents/ag.plist"_s;
            QDir().mkpath(QFileInfo(job).path());
            const PlistDict dict{
                {u"Label"_s, u"ag"_s}, {u"Program"_s, u"/bin/true"_s}, {u"RunAtLoad"_s, true}};
            m_manager->clearCalls();
            {
                HelperTest::Client client(socket);
                const auto reply = client.request(
                    {{u"kind"_s, 1},
                     {u"presentError"_s, true},
                     {u"privileged"_s, false},
                     {u"path"_s, job},
                     {u"label"_s, u"ag"_s},
                     {u"string"_s, QString::fromUtf8(*PlistCodec::toXml(PlistValue(dict)))}});
                QVERIFY(reply);
                QVERIFY2(!reply->contains(u"error"_s), qPrintable(PlistValue(*reply).debugText()));
            }
            const QString unit = root.path() + u"/home/.config/systemd/user/ag.service"_s;
            QCOMPARE(QFileInfo::exists(unit), withManager);
            QCOMPARE(m_manager->calls().contains(u"Start ag.service"_s), withManager);

            QVERIFY(helper.waitForFinished(30000));
            const QString log = QString::fromUtf8(helper.readAllStandardError());
            QVERIFY2(log.contains(withManager ? u"load backend: systemd"_s
                                              : u"load backend: state file"_s),
                     qPrintable(log));
            otherBus.terminate();
            otherBus.waitForFinished(5000);
        }
    }
};

VANDRA_GUILESS_TEST_MAIN(TestSystemdBackend)
#include "test_systemdbackend.moc"

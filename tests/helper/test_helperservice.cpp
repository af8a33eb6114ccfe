// The helper service driven as a real process, frame by frame.

#include "actions/logentry.h"
#include "common/files.h"
#include "common/samplejob.h"
#include "common/testmain.h"
#include "helper/helpertestsupport.h"
#include "helper/statefilebackend.h"
#include "platform/plistcodec.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <signal.h>
#include <unistd.h>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace Vandra;

using HelperTest::Client;
using HelperTest::errorCode;
using HelperTest::request;

namespace {

// Killed and reaped, or at least killed: a container's first process may leave zombies.
bool isGone(int pid) {
    if (::kill(pid, 0) != 0)
        return true;
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close >= 0 && stat.mid(close + 2, 1) == "Z";
}

QByteArray header(quint32 length) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(length, bytes.data());
    return bytes;
}

} // namespace

class TestHelperService : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<HelperTest::Process> m_helper;

    QString root() const { return m_root->path(); }
    QString socketPath() const { return root() + QStringLiteral("/helper.sock"); }
    QString agents() const {
        return Locations::shared().userLibrary() + QStringLiteral("/LaunchAgents");
    }
    QString testJobs() const { return Locations::shared().testJobsDir(); }
    QString agent(const QString &name) const { return agents() + u'/' + name; }
    QString testJob(const QString &name) const { return testJobs() + u'/' + name; }
    StateFileBackend state() const {
        return StateFileBackend(Locations::shared().stateDir() + QStringLiteral("/loaded.plist"));
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANDRA_JOURNALCTL"), QString());
        environment.remove(QStringLiteral("VANDRA_ROOT"));
        return environment;
    }
    bool startHelper(const QStringList &extra = {}, const QProcessEnvironment &env = {},
                     const std::function<void()> &childSetup = {}) {
        m_helper = std::make_unique<HelperTest::Process>();
        return m_helper->startService(socketPath(),
                                      QStringList{QStringLiteral("--root"), root(),
                                                  QStringLiteral("--test-timeout"),
                                                  QStringLiteral("2")} +
                                          extra,
                                      env.isEmpty() ? environment() : env, childSetup);
    }
    // A good request still gets a good reply from a new client.
    void verifyStillServing() {
        QVERIFY(writeFile(agent(QStringLiteral("alive.plist")),
                          jobText(QStringLiteral("alive")).toUtf8()));
        Client client(socketPath());
        QVERIFY(client.isConnected());
        const auto reply = client.request(
            request(5, {{QStringLiteral("path"), agent(QStringLiteral("alive.plist"))}}));
        QVERIFY(reply.has_value());
        QCOMPARE(errorCode(reply), std::nullopt);
    }

private Q_SLOTS:
    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        Locations::initialize(root());
        QVERIFY(QDir().mkpath(agents()));
        QVERIFY(startHelper());
    }

    void cleanup() {
        m_helper.reset();
        m_root.reset();
    }

    void savingLoadingAndRemovingActOnTheUserFolderInOrder() {
        Client client(socketPath());
        const QString first = agent(QStringLiteral("first.plist"));
        const QString moved = agent(QStringLiteral("moved.plist"));

        auto reply =
            client.request(request(0, {{QStringLiteral("path"), first},
                                       {QStringLiteral("string"), jobText(QStringLiteral("job.a"))},
                                       {QStringLiteral("label"), QStringLiteral("job.a")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QVERIFY(!reply->contains(QStringLiteral("error")));
        QCOMPARE(QString::fromUtf8(readAll(first)), jobText(QStringLiteral("job.a")));
        QCOMPARE(QFileInfo(first).permissions() & 0x0777,
                 QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY(state().loaded().isEmpty());

        // Moving the job to another file with loading: the old file goes.
        reply =
            client.request(request(1, {{QStringLiteral("path"), moved},
                                       {QStringLiteral("deletePath"), first},
                                       {QStringLiteral("string"), jobText(QStringLiteral("job.a"))},
                                       {QStringLiteral("label"), QStringLiteral("job.a")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QVERIFY(!QFileInfo::exists(first));
        QVERIFY(QFileInfo::exists(moved));
        QCOMPARE(state().loaded(),
                 (QList<StateFileBackend::Entry>{{QStringLiteral("job.a"), moved}}));

        reply = client.request(request(4, {{QStringLiteral("path"), moved},
                                           {QStringLiteral("label"), QStringLiteral("job.a")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QVERIFY(state().loaded().isEmpty());

        reply = client.request(request(5, {{QStringLiteral("path"), moved}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QCOMPARE(state().loaded(),
                 (QList<StateFileBackend::Entry>{{QStringLiteral("job.a"), moved}}));

        reply = client.request(request(2, {{QStringLiteral("deletePath"), moved},
                                           {QStringLiteral("label"), QStringLiteral("job.a")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QVERIFY(!QFileInfo::exists(moved));
        QVERIFY(state().loaded().isEmpty());

        // The record keeps the order of the operations.
        const PlistReadResult read = PlistCodec::readFile(state().stateFile());
        QVERIFY(read.ok());
        QStringList operations;
        for (const PlistValue &entry :
             *read.value->dict()->find(QStringLiteral("History"))->array())
            operations.append(
                entry.dict()->value(QStringLiteral("Operation")).toString().value_or(QString()));
        QCOMPARE(operations, (QStringList{QStringLiteral("load"), QStringLiteral("unload"),
                                          QStringLiteral("load"), QStringLiteral("unload")}));
    }

    void jobsLinkedFromAnExtraFolderAreSavedThroughTheirTarget() {
        const QString extra = root() + QStringLiteral("/projects");
        QVERIFY(QDir().mkpath(extra));
        QVERIFY(writeFile(extra + QStringLiteral("/linked.plist"),
                          jobText(QStringLiteral("old")).toUtf8()));
        QVERIFY(QFile::link(extra + QStringLiteral("/linked.plist"),
                            agent(QStringLiteral("linked.plist"))));
        QSettings settings(Locations::shared().settingsFile(), QSettings::IniFormat);

        // Not yet an extra folder: the link leads out of the served folders.
        Client client(socketPath());
        const PlistDict save =
            request(0, {{QStringLiteral("path"), agent(QStringLiteral("linked.plist"))},
                        {QStringLiteral("string"), jobText(QStringLiteral("new"))}});
        QCOMPARE(errorCode(client.request(save)), qint64(5));
        QCOMPARE(QString::fromUtf8(readAll(extra + QStringLiteral("/linked.plist"))),
                 jobText(QStringLiteral("old")));

        settings.setValue(QStringLiteral("folders"), QVariantList{extra.toUtf8()});
        settings.sync();
        QCOMPARE(errorCode(client.request(save)), std::nullopt);
        QCOMPARE(QString::fromUtf8(readAll(extra + QStringLiteral("/linked.plist"))),
                 jobText(QStringLiteral("new")));
        QVERIFY(QFileInfo(agent(QStringLiteral("linked.plist"))).isSymLink());
    }

    void pathsOutsideTheServedFoldersAreRefused_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("code");
        // Paths are relative to the root; "@" stands for the user's agents folder.
        QTest::newRow("dot-dot out of the folder") << 0 << "path"
                                                   << "@/../victim.plist" << qint64(5);
        QTest::newRow("dot-dot back into the folder") << 0 << "path"
                                                      << "@/../LaunchAgents/x.plist" << qint64(5);
        QTest::newRow("link pointing out") << 0 << "path"
                                           << "@/escape.plist" << qint64(5);
        QTest::newRow("other absolute path") << 0 << "path"
                                             << "/outside/victim.plist" << qint64(5);
        QTest::newRow("relative path") << 0 << "path"
                                       << "victim.plist" << qint64(5);
        QTest::newRow("deletePath elsewhere") << 2 << "deletePath"
                                              << "/outside/victim.plist" << qint64(4);
        QTest::newRow("deletePath through dot-dot") << 2 << "deletePath"
                                                    << "@/../../victim.plist" << qint64(4);
        QTest::newRow("load from elsewhere") << 5 << "path"
                                             << "/outside/victim.plist" << qint64(8);
        QTest::newRow("load through a link out") << 5 << "path"
                                                 << "@/escape.plist" << qint64(8);
        QTest::newRow("unload elsewhere") << 4 << "path"
                                          << "/outside/victim.plist" << qint64(3);
    }

    void pathsOutsideTheServedFoldersAreRefused() {
        QFETCH(int, kind);
        QFETCH(QString, key);
        QFETCH(QString, path);
        QFETCH(qint64, code);
        const QString outside = root() + QStringLiteral("/outside");
        QVERIFY(QDir().mkpath(outside));
        const QByteArray original = jobText(QStringLiteral("victim")).toUtf8();
        for (const QString &victim :
             QStringList{outside + QStringLiteral("/victim.plist"),
                         QFileInfo(agents()).absolutePath() + QStringLiteral("/victim.plist"),
                         root() + QStringLiteral("/home/.config/victim.plist")})
            QVERIFY(writeFile(victim, original));
        QVERIFY(QFile::link(outside + QStringLiteral("/victim.plist"),
                            agent(QStringLiteral("escape.plist"))));

        QString resolved = path;
        resolved.replace(u'@', agents());
        if (resolved.startsWith(QStringLiteral("/outside")))
            resolved.prepend(root());
        Client client(socketPath());
        const auto reply = client.request(
            request(kind, {{key, resolved},
                           {QStringLiteral("string"), jobText(QStringLiteral("evil"))},
                           {QStringLiteral("label"), QStringLiteral("victim")}}));
        QCOMPARE(errorCode(reply), std::optional<qint64>(code));
        QCOMPARE(readAll(outside + QStringLiteral("/victim.plist")), original);
        QCOMPARE(readAll(QFileInfo(agents()).absolutePath() + QStringLiteral("/victim.plist")),
                 original);
        QCOMPARE(readAll(root() + QStringLiteral("/home/.config/victim.plist")), original);
        QVERIFY(!QFileInfo::exists(agent(QStringLiteral("x.plist"))));
        QVERIFY(QFileInfo(agent(QStringLiteral("escape.plist"))).isSymLink());
        QVERIFY(state().loaded().isEmpty());
        QTRY_VERIFY(m_helper->log().contains(QStringLiteral("refused")));
    }

    void testFilesOutsideTheTestFolderAreRefused() {
        const QString outside = root() + QStringLiteral("/outside.out");
        Client client(socketPath());
        const auto reply = client.request(
            request(6, {{QStringLiteral("testPath"), testJob(QStringLiteral("t.plist"))},
                        {QStringLiteral("testOutputPath"), outside},
                        {QStringLiteral("string"), jobText(QStringLiteral("t"))},
                        {QStringLiteral("label"), QStringLiteral("t")}}));
        QCOMPARE(errorCode(reply), std::optional<qint64>(6));
        QVERIFY(!QFileInfo::exists(outside));
        QVERIFY(!QFileInfo::exists(testJob(QStringLiteral("t.plist"))));
    }

    void aTestFolderPutInPlaceAsALinkServesNoTestJob() {
        // In the shared temporary folder anyone may make the test folder's name first.
        const QString elsewhere = root() + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QDir(testJobs()).removeRecursively());
        QVERIFY(QDir().mkpath(QFileInfo(testJobs()).absolutePath()));
        QVERIFY(QFile::link(elsewhere, testJobs()));
        Client client(socketPath());
        const auto reply = client.request(
            request(6, {{QStringLiteral("testPath"), testJob(QStringLiteral("t.plist"))},
                        {QStringLiteral("testOutputPath"), testJob(QStringLiteral("t.out"))},
                        {QStringLiteral("string"), jobText(QStringLiteral("t"))},
                        {QStringLiteral("label"), QStringLiteral("t")}}));
        QCOMPARE(errorCode(reply), std::optional<qint64>(6));
        QVERIFY(QDir(elsewhere).isEmpty());
        QVERIFY(state().loaded().isEmpty());
    }

    void malformedFramesGetAnErrorOrAClose_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("expectsReply");
        QTest::addColumn<qint64>("code");
        const auto frame = [](const PlistDict &dict) { return *HelperFrame::encode(dict); };
        const QByteArray array = *PlistCodec::toXml(PlistValue(PlistArray{PlistValue(1)}));
        QTest::newRow("length over the limit")
            << header(HelperFrame::maximumLength + 1) + QByteArray(64, 'x') << true << qint64(0);
        QTest::newRow("largest length") << header(0xffffffff) << true << qint64(0);
        QTest::newRow("truncated frame")
            << header(1000) + QByteArray(10, 'x') << false << qint64(0);
        QTest::newRow("not a property list")
            << HelperFrame::frame("\x01\x02garbage") << true << qint64(0);
        QTest::newRow("empty body") << HelperFrame::frame(QByteArray()) << true << qint64(0);
        QTest::newRow("a list instead of a dictionary")
            << HelperFrame::frame(array) << true << qint64(0);
        QTest::newRow("kind is text")
            << frame(PlistDict{{QStringLiteral("kind"), QStringLiteral("5")}}) << true << qint64(2);
        QTest::newRow("kind is real")
            << frame(PlistDict{{QStringLiteral("kind"), 5.0}}) << true << qint64(2);
        QTest::newRow("no kind") << frame(PlistDict{{QStringLiteral("path"), QStringLiteral("/x")}})
                                 << true << qint64(2);
        QTest::newRow("kind 13") << frame(request(13)) << true << qint64(2);
        QTest::newRow("kind -1") << frame(request(-1)) << true << qint64(2);
        QTest::newRow("kind 3") << frame(request(3)) << true << qint64(2);
        QTest::newRow("kind 7") << frame(request(7)) << true << qint64(2);
        QTest::newRow("uninstall to the service") << frame(request(8)) << true << qint64(2);
        QTest::newRow("path of the wrong type")
            << frame(request(5, {{QStringLiteral("path"), 12}})) << true << qint64(8);
    }

    void malformedFramesGetAnErrorOrAClose() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, expectsReply);
        QFETCH(qint64, code);
        {
            Client client(socketPath());
            QVERIFY(client.sendRaw(bytes));
            if (expectsReply) {
                const auto reply = client.reply();
                // An error reply, or the connection closed.
                if (reply)
                    QCOMPARE(errorCode(reply), std::optional<qint64>(code));
            }
            client.close();
        }
        verifyStillServing();
    }

    void aSaveThatFailsHalfwayLeavesTheOldFile() {
        // The helper may write files of a few kilobytes only, so a long save fails while
        // its bytes are being written.
        QVERIFY(startHelper({}, {}, [] {
            const rlimit limit{8192, 8192};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN);
        }));
        const QString path = agent(QStringLiteral("big.plist"));
        const QByteArray original = jobText(QStringLiteral("big")).toUtf8();
        QVERIFY(writeFile(path, original));
        const QString huge =
            jobText(QStringLiteral("big"), {{QStringLiteral("Comment"), QString(200000, u'x')}});

        Client client(socketPath());
        const auto reply = client.request(
            request(0, {{QStringLiteral("path"), path}, {QStringLiteral("string"), huge}}));
        QCOMPARE(errorCode(reply), std::optional<qint64>(5));
        QCOMPARE(readAll(path), original);
        QCOMPARE(QDir(agents()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("big.plist")});
    }

    void manyClientsAtOnceGetTheirRepliesInOrder() {
        QVERIFY(writeFile(agent(QStringLiteral("j.plist")), jobText(QStringLiteral("j")).toUtf8()));
        // Requests whose replies tell them apart: success, or the code of the failure.
        const QList<std::pair<PlistDict, std::optional<qint64>>> kinds{
            {request(5, {{QStringLiteral("path"), agent(QStringLiteral("j.plist"))}}),
             std::nullopt},
            {request(3), 2},
            {request(5), 8},
            {request(2), 4},
            {request(4, {{QStringLiteral("label"), QStringLiteral("j")}}), std::nullopt},
        };
        constexpr int clients = 50;
        constexpr int perClient = 20;
        QRandomGenerator random(7);
        std::vector<std::unique_ptr<Client>> connections;
        std::vector<QList<std::optional<qint64>>> expected(clients);
        for (int c = 0; c < clients; ++c) {
            connections.push_back(std::make_unique<Client>(socketPath()));
            QVERIFY(connections.back()->isConnected());
        }
        // Everything goes out before any reply is read.
        for (int c = 0; c < clients; ++c) {
            QByteArray bytes;
            for (int i = 0; i < perClient; ++i) {
                const auto &[dict, code] = kinds.at(random.bounded(int(kinds.size())));
                bytes += *HelperFrame::encode(dict);
                expected[c].append(code);
            }
            QVERIFY(connections[c]->sendRaw(bytes));
        }
        for (int c = 0; c < clients; ++c) {
            for (int i = 0; i < perClient; ++i) {
                const auto reply = connections[c]->reply(60000);
                QVERIFY2(reply.has_value(),
                         qPrintable(QStringLiteral("client %1 reply %2").arg(c).arg(i)));
                QCOMPARE(errorCode(reply), expected[c].at(i));
            }
        }
    }

    void aTestRunWritesOutputAndErrorAndAnswersWithTheText() {
        QDir().mkpath(testJobs());
        const QString testPath = testJob(QStringLiteral("run.plist"));
        const QString outputPath = testJob(QStringLiteral("run.out"));
        const QString text =
            jobText(QStringLiteral("T1"),
                    {{QStringLiteral("ProgramArguments"),
                      PlistValue(QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                             QStringLiteral("echo out; echo err >&2")})}});
        Client client(socketPath());
        const auto reply =
            client.request(request(6, {{QStringLiteral("testPath"), testPath},
                                       {QStringLiteral("testOutputPath"), outputPath},
                                       {QStringLiteral("string"), text},
                                       {QStringLiteral("label"), QStringLiteral("T1")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QCOMPARE(reply->value(QStringLiteral("test")).toString(), QStringLiteral("out\nerr\n"));
        QCOMPARE(readAll(outputPath), QByteArray("out\nerr\n"));
        QVERIFY(state().pathOf(QStringLiteral("T1")).has_value());

        // Unloading the test job takes its files with it.
        QCOMPARE(errorCode(
                     client.request(request(4, {{QStringLiteral("path"), testPath},
                                                {QStringLiteral("label"), QStringLiteral("T1")}}))),
                 std::nullopt);
        QVERIFY(!QFileInfo::exists(testPath));
        QVERIFY(!QFileInfo::exists(outputPath));
        QVERIFY(!state().pathOf(QStringLiteral("T1")).has_value());
    }

    void aTestRunThatNeverEndsIsStoppedAtTheBound() {
        QDir().mkpath(testJobs());
        const QString testPath = testJob(QStringLiteral("forever.plist"));
        const QString outputPath = testJob(QStringLiteral("forever.out"));
        // The command names its process, then waits for ever in a child of its own.
        const QString text = jobText(
            QStringLiteral("T2"),
            {{QStringLiteral("ProgramArguments"),
              PlistValue(QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                     QStringLiteral("echo $$; sleep 1000 & echo $!; wait")})}});
        Client client(socketPath());
        const auto reply =
            client.request(request(6, {{QStringLiteral("testPath"), testPath},
                                       {QStringLiteral("testOutputPath"), outputPath},
                                       {QStringLiteral("string"), text},
                                       {QStringLiteral("label"), QStringLiteral("T2")}}),
                           60000);
        QCOMPARE(errorCode(reply), std::nullopt);
        const QStringList pids = reply->value(QStringLiteral("test"))
                                     .toString()
                                     .value_or(QString())
                                     .split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(pids.size(), 2);
        for (const QString &pid : pids)
            QTRY_VERIFY_WITH_TIMEOUT(isGone(pid.toInt()), 10000);

        QCOMPARE(errorCode(
                     client.request(request(4, {{QStringLiteral("path"), testPath},
                                                {QStringLiteral("label"), QStringLiteral("T2")}}))),
                 std::nullopt);
        QVERIFY(!QFileInfo::exists(testPath));
        QVERIFY(!QFileInfo::exists(outputPath));
    }

    void unloadingARunningTestStopsItAndRemovesItsFiles() {
        QVERIFY(startHelper({QStringLiteral("--test-timeout"), QStringLiteral("300")}));
        QDir().mkpath(testJobs());
        const QString testPath = testJob(QStringLiteral("long.plist"));
        const QString outputPath = testJob(QStringLiteral("long.out"));
        const QString text =
            jobText(QStringLiteral("T3"),
                    {{QStringLiteral("ProgramArguments"),
                      PlistValue(QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                             QStringLiteral("echo started; exec sleep 1000")})}});
        Client tester(socketPath());
        QVERIFY(tester.send(request(6, {{QStringLiteral("testPath"), testPath},
                                        {QStringLiteral("testOutputPath"), outputPath},
                                        {QStringLiteral("string"), text},
                                        {QStringLiteral("label"), QStringLiteral("T3")}})));
        QTRY_COMPARE_WITH_TIMEOUT(readAll(outputPath), QByteArray("started\n"), 20000);

        Client other(socketPath());
        QCOMPARE(
            errorCode(other.request(request(4, {{QStringLiteral("path"), testPath},
                                                {QStringLiteral("label"), QStringLiteral("T3")}}))),
            std::nullopt);
        const auto reply = tester.reply();
        QCOMPARE(errorCode(reply), std::nullopt);
        QCOMPARE(reply->value(QStringLiteral("test")).toString(), QStringLiteral("started\n"));
        QVERIFY(!QFileInfo::exists(testPath));
        QVERIFY(!QFileInfo::exists(outputPath));
    }

    void aTestRunAnswersWithWhatItsCommandWroteNotWhatTheNameNowLeadsTo() {
        QDir().mkpath(testJobs());
        const QString secret = root() + QStringLiteral("/secret.txt");
        QVERIFY(writeFile(secret, "secret\n"));
        const QString testPath = testJob(QStringLiteral("swap.plist"));
        const QString outputPath = testJob(QStringLiteral("swap.out"));
        // The command puts a link to another file in place of its output file.
        const QString text =
            jobText(QStringLiteral("T5"),
                    {{QStringLiteral("ProgramArguments"),
                      PlistValue(QStringList{
                          QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                          QStringLiteral("echo before; rm -f \"$0\"; ln -s \"$1\" \"$0\""),
                          outputPath, secret})}});
        Client client(socketPath());
        const auto reply =
            client.request(request(6, {{QStringLiteral("testPath"), testPath},
                                       {QStringLiteral("testOutputPath"), outputPath},
                                       {QStringLiteral("string"), text},
                                       {QStringLiteral("label"), QStringLiteral("T5")}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        QCOMPARE(reply->value(QStringLiteral("test")).toString(), QStringLiteral("before\n"));

        QCOMPARE(errorCode(
                     client.request(request(4, {{QStringLiteral("path"), testPath},
                                                {QStringLiteral("label"), QStringLiteral("T5")}}))),
                 std::nullopt);
        QCOMPARE(readAll(secret), QByteArray("secret\n"));
    }

    void anOutputFileThatIsAPipeIsRefusedWithoutStallingTheHelper() {
        QDir().mkpath(testJobs());
        const QString outputPath = testJob(QStringLiteral("pipe.out"));
        QCOMPARE(::mkfifo(QFile::encodeName(outputPath).constData(), 0600), 0);
        Client client(socketPath());
        const auto reply = client.request(
            request(6, {{QStringLiteral("testPath"), testJob(QStringLiteral("pipe.plist"))},
                        {QStringLiteral("testOutputPath"), outputPath},
                        {QStringLiteral("string"), jobText(QStringLiteral("T6"))},
                        {QStringLiteral("label"), QStringLiteral("T6")}}),
            20000);
        QCOMPARE(errorCode(reply), std::optional<qint64>(6));
        verifyStillServing();
    }

    void aTestJobThatNamesNoProgramIsAnError() {
        QDir().mkpath(testJobs());
        PlistDict job{{QStringLiteral("Label"), QStringLiteral("T4")}};
        Client client(socketPath());
        const auto reply = client.request(request(
            6, {{QStringLiteral("testPath"), testJob(QStringLiteral("n.plist"))},
                {QStringLiteral("testOutputPath"), testJob(QStringLiteral("n.out"))},
                {QStringLiteral("string"), QString::fromUtf8(*PlistCodec::toXml(PlistValue(job)))},
                {QStringLiteral("label"), QStringLiteral("T4")}}));
        QCOMPARE(errorCode(reply), std::optional<qint64>(6));
        QVERIFY(!QFileInfo::exists(testJob(QStringLiteral("n.plist"))));
    }

    void logQueriesWithoutAJournalReadTheJobsOutputFiles() {
        const QString output = root() + QStringLiteral("/job.log");
        QVERIFY(writeFile(output, "first line\nsecond line\n"));
        QVERIFY(writeFile(
            agent(QStringLiteral("logged.plist")),
            jobText(QStringLiteral("logged"), {{QStringLiteral("StandardOutPath"), output}})
                .toUtf8()));
        Client client(socketPath());
        const PlistDict query{{QStringLiteral("lastString"), QStringLiteral("1h")},
                              {QStringLiteral("lastSeconds"), QStringLiteral("3600")},
                              {QStringLiteral("searchString"), QStringLiteral("logged")}};
        const auto reply = client.request(request(9, {{QStringLiteral("logQuery"), query}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        const auto entries = LogEntries::fromValue(reply->value(QStringLiteral("logQuery")));
        QVERIFY(entries.has_value());
        QCOMPARE(entries->size(), 2);
        QCOMPARE(entries->at(0).message, QStringLiteral("first line"));
        QCOMPARE(entries->at(1).message, QStringLiteral("second line"));

        // A query without a usable time span is a log error.
        const PlistDict bad{{QStringLiteral("lastSeconds"), QStringLiteral("soon")},
                            {QStringLiteral("searchString"), QStringLiteral("logged")}};
        QCOMPARE(errorCode(client.request(request(9, {{QStringLiteral("logQuery"), bad}}))),
                 std::optional<qint64>(7));
    }

    void logQueriesReadTheJournalWhereThereIsOne() {
        const QString arguments = root() + QStringLiteral("/arguments");
        const QString canned = root() + QStringLiteral("/journal.json");
        QVERIFY(writeFile(
            canned,
            R"({"__REALTIME_TIMESTAMP":"1700000000123456","MESSAGE":"Started org.example.job"})"
            "\n"
            R"({"__REALTIME_TIMESTAMP":"1700000001000000","MESSAGE":[104,105]})"
            "\n"));
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("VANDRA_JOURNALCTL"),
                   QStringLiteral("/bin/sh ") +
                       HelperTest::dataPath(QStringLiteral("fake-journalctl")));
        env.insert(QStringLiteral("FAKE_JOURNAL_ARGUMENTS"), arguments);
        env.insert(QStringLiteral("FAKE_JOURNAL_OUTPUT"), canned);
        QVERIFY(startHelper({}, env));

        Client client(socketPath());
        const PlistDict query{{QStringLiteral("lastString"), QStringLiteral("4h")},
                              {QStringLiteral("lastSeconds"), QStringLiteral("14400")},
                              {QStringLiteral("searchString"), QStringLiteral("org.example.job")}};
        const auto reply = client.request(request(9, {{QStringLiteral("logQuery"), query}}));
        QCOMPARE(errorCode(reply), std::nullopt);
        const auto entries = LogEntries::fromValue(reply->value(QStringLiteral("logQuery")));
        QVERIFY(entries.has_value());
        QCOMPARE(entries->size(), 2);
        QCOMPARE(entries->at(0).date.toMSecsSinceEpoch(), qint64(1700000000123));
        QCOMPARE(entries->at(0).message, QStringLiteral("Started org.example.job"));
        QCOMPARE(entries->at(1).message, QStringLiteral("hi"));
        const QString passed = QString::fromUtf8(readAll(arguments));
        QVERIFY(passed.contains(QStringLiteral("--output=json")));
        QVERIFY(passed.contains(QStringLiteral("--grep=org\\.example\\.job")));
        QVERIFY(passed.contains(QStringLiteral("--since=@")));

        // A journal that fails is a log error.
        env.insert(QStringLiteral("FAKE_JOURNAL_STATUS"), QStringLiteral("3"));
        QVERIFY(startHelper({}, env));
        Client again(socketPath());
        QCOMPARE(errorCode(again.request(request(9, {{QStringLiteral("logQuery"), query}}))),
                 std::optional<qint64>(7));
    }

    void theServiceEndsAfterItsIdleTime() {
        QVERIFY(startHelper({QStringLiteral("--idle-timeout"), QStringLiteral("1")}));
        {
            Client client(socketPath());
            QCOMPARE(errorCode(client.request(
                         request(4, {{QStringLiteral("label"), QStringLiteral("x")}}))),
                     std::nullopt);
        }
        QVERIFY(m_helper->waitForExit(30000));
        QCOMPARE(m_helper->process().exitCode(), 0);
    }

    void aSecondHelperOnTheSameSocketStepsBack() {
        HelperTest::Process second;
        second.process().setProcessEnvironment(environment());
        second.process().start(
            HelperTest::program(QStringLiteral("vandra-helper")),
            {QStringLiteral("--socket"), socketPath(), QStringLiteral("--root"), root()});
        QVERIFY(second.waitForExit(30000));
        QCOMPARE(second.process().exitCode(), 0);
        verifyStillServing();
    }
};

VANDRA_GUILESS_TEST_MAIN(TestHelperService)
#include "test_helperservice.moc"

// The helpers under attack, as real processes: a local user who owns the agents folder and
// swaps folders for links while requests run, paths built to confuse resolution, a full
// disk, a test user for the privileged cases, and clients that flood, stall or trickle.

#include "common/files.h"
#include "common/samplejob.h"
#include "common/testmain.h"
#include "helper/helpertestsupport.h"
#include "platform/atomicfile.h"
#include "platform/plistcodec.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <linux/fs.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>

using namespace Vandra;

using HelperTest::Client;
using HelperTest::errorCode;
using HelperTest::request;

namespace {

QStringList entries(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

bool exchange(const QString &a, const QString &b) {
    return ::syscall(SYS_renameat2, AT_FDCWD, QFile::encodeName(a).constData(), AT_FDCWD,
                     QFile::encodeName(b).constData(), RENAME_EXCHANGE) == 0;
}

// Swaps two names back and forth on a thread of its own until it is destroyed, the way an
// attacker races a check against a use.
class Swapper {
public:
    Swapper(QString a, QString b)
        : m_a(std::move(a))
        , m_b(std::move(b))
        , m_thread([this] {
            while (!m_stop) {
                if (exchange(m_a, m_b))
                    ++m_count;
            }
        }) {}
    ~Swapper() {
        m_stop = true;
        m_thread.join();
        // Left as it was found.
        if (m_count % 2 != 0)
            exchange(m_a, m_b);
    }
    [[nodiscard]] int count() const { return m_count; }

private:
    QString m_a;
    QString m_b;
    std::atomic<bool> m_stop = false;
    std::atomic<int> m_count = 0;
    std::thread m_thread;
};

// A binary property list of a few hundred bytes whose arrays each hold the one before twice:
// read naively, it expands to 2^depth strings.
QByteArray referenceBomb(int depth) {
    QByteArray bytes("bplist00");
    QList<quint32> offsets;
    const auto reference = [](QByteArray &out, int object) {
        out.append(char(object >> 8));
        out.append(char(object & 0xff));
    };
    offsets.append(quint32(bytes.size())); // 0: {"kind": top array}
    bytes.append(char(0xD1));
    reference(bytes, 1);
    reference(bytes, 2 + depth);
    offsets.append(quint32(bytes.size())); // 1: "kind"
    bytes.append("\x54kind");
    offsets.append(quint32(bytes.size())); // 2: "x"
    bytes.append("\x51x");
    for (int level = 1; level <= depth; ++level) {
        offsets.append(quint32(bytes.size()));
        bytes.append(char(0xA2));
        reference(bytes, 1 + level);
        reference(bytes, 1 + level);
    }
    const quint32 tableOffset = quint32(bytes.size());
    for (const quint32 offset : std::as_const(offsets)) {
        char be[4];
        qToBigEndian(offset, be);
        bytes.append(be, 4);
    }
    QByteArray trailer(32, '\0');
    trailer[6] = 4; // offset size
    trailer[7] = 2; // reference size
    qToBigEndian(quint64(offsets.size()), trailer.data() + 8);
    qToBigEndian(quint64(0), trailer.data() + 16);
    qToBigEndian(quint64(tableOffset), trailer.data() + 24);
    return bytes + trailer;
}

QByteArray frameOf(const QByteArray &body) {
    QByteArray header(4, Qt::Uninitialized);
    qToBigEndian(quint32(body.size()), header.data());
    return header + body;
}

// A user made for one test and removed with it, whatever the test's outcome.
class TestUser {
public:
    TestUser() {
        if (::geteuid() != 0 || !QFileInfo::exists(QStringLiteral("/usr/sbin/useradd"))) {
            m_why = QStringLiteral("making a user needs root and useradd");
            return;
        }
        m_name = QStringLiteral("vandra-t%1").arg(::getpid());
        QProcess add;
        add.start(QStringLiteral("/usr/sbin/useradd"),
                  {QStringLiteral("-M"), QStringLiteral("-U"), QStringLiteral("-s"),
                   QStringLiteral("/usr/sbin/nologin"), m_name});
        if (!add.waitForFinished(30000) || add.exitCode() != 0) {
            m_why = QStringLiteral("useradd failed: ") +
                    QString::fromLocal8Bit(add.readAllStandardError());
            m_name.clear();
            return;
        }
        const passwd *entry = ::getpwnam(m_name.toLocal8Bit().constData());
        if (entry) {
            m_uid = entry->pw_uid;
            m_gid = entry->pw_gid;
        }
    }
    ~TestUser() {
        if (m_name.isEmpty())
            return;
        QProcess remove;
        remove.start(QStringLiteral("/usr/sbin/userdel"), {m_name});
        remove.waitForFinished(30000);
    }
    [[nodiscard]] bool isMade() const { return !m_name.isEmpty() && m_uid != 0; }
    [[nodiscard]] const QString &why() const { return m_why; }
    [[nodiscard]] const QString &name() const { return m_name; }
    [[nodiscard]] uid_t uid() const { return m_uid; }
    [[nodiscard]] gid_t gid() const { return m_gid; }

private:
    QString m_name;
    QString m_why;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
};

// Connects as another user: peer credentials are those of the connecting moment.
std::unique_ptr<Client> connectAs(uid_t uid, gid_t gid, const QString &endpoint) {
    if (::setegid(gid) != 0 || ::seteuid(uid) != 0)
        return nullptr;
    auto client = std::make_unique<Client>(endpoint);
    [[maybe_unused]] const int back = ::seteuid(0) + ::setegid(0);
    return client;
}

} // namespace

class TestHelperAttacks : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<HelperTest::Process> m_helper;

    QString root() const { return m_root->path(); }
    QString socketPath() const { return root() + QStringLiteral("/helper.sock"); }
    QString agents() const {
        return Locations::shared().userLibrary() + QStringLiteral("/LaunchAgents");
    }
    QString agent(const QString &name) const { return agents() + u'/' + name; }
    QString outside() const { return root() + QStringLiteral("/outside"); }
    QString daemons() const {
        return Locations::shared().localLibrary() + QStringLiteral("/LaunchDaemons");
    }

    static QProcessEnvironment environment() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANDRA_JOURNALCTL"), QString());
        environment.remove(QStringLiteral("VANDRA_ROOT"));
        environment.remove(QStringLiteral("PKEXEC_UID"));
        return environment;
    }

    bool startService(const QStringList &extra = {}, const std::function<void()> &setup = {}) {
        m_helper = std::make_unique<HelperTest::Process>();
        return m_helper->startService(socketPath(),
                                      QStringList{QStringLiteral("--root"), root()} + extra,
                                      environment(), setup);
    }

    bool startPrivileged(const QProcessEnvironment &env = environment()) {
        m_helper = std::make_unique<HelperTest::Process>();
        return m_helper->startPrivileged({QStringLiteral("--root"), root()}, env);
    }

    static bool answers(const QString &endpoint) {
        Client client(endpoint);
        const auto reply =
            client.request(request(4, {{QStringLiteral("label"), QStringLiteral("x")}}), 2000);
        return reply.has_value() && !errorCode(reply).has_value();
    }

    void verifyAnswers(const QString &endpoint) {
        Client client(endpoint);
        QVERIFY(client.isConnected());
        const auto reply =
            client.request(request(4, {{QStringLiteral("label"), QStringLiteral("x")}}));
        QVERIFY(reply.has_value());
        QCOMPARE(errorCode(reply), std::nullopt);
    }

private Q_SLOTS:
    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        Locations::initialize(root());
        QVERIFY(QDir().mkpath(agents()));
        QVERIFY(QDir().mkpath(daemons()));
        QVERIFY(QDir().mkpath(outside()));
        QVERIFY(writeFile(outside() + QStringLiteral("/victim.plist"), "precious"));
    }

    void cleanup() {
        m_helper.reset();
        m_root.reset();
    }

    void aFolderSwappedForALinkDuringRequestsSendsNothingOutside_data() {
        QTest::addColumn<bool>("isPrivileged");
        QTest::newRow("helper service") << false;
        QTest::newRow("privileged helper") << true;
    }

    void aFolderSwappedForALinkDuringRequestsSendsNothingOutside() {
        QFETCH(bool, isPrivileged);
        QVERIFY(isPrivileged ? startPrivileged() : startService());
        const QString endpoint = isPrivileged ? m_helper->endpoint() : socketPath();
        const QByteArray token = isPrivileged ? m_helper->token() : QByteArray();
        // The link has the agents folder's name half of the time; the outside folder holds
        // a file of the name every request uses.
        const QString link = root() + QStringLiteral("/link");
        QVERIFY(QFile::link(outside(), link));
        QVERIFY(writeFile(outside() + QStringLiteral("/job.plist"), "precious"));
        Client client(endpoint);
        QVERIFY(client.isConnected());
        const auto withToken = [&](PlistDict dict) {
            if (isPrivileged)
                dict.insert(QStringLiteral("authData"), token);
            return dict;
        };
        int swaps = 0;
        {
            Swapper swapper(agents(), link);
            for (int i = 0; i < 150; ++i) {
                // The privileged helper may only remove in the user's folder; the service
                // writes there too.
                if (!isPrivileged)
                    client.send(withToken(
                        request(0, {{QStringLiteral("path"), agent(QStringLiteral("job.plist"))},
                                    {QStringLiteral("string"), jobText(QStringLiteral("job"))}})));
                client.send(withToken(request(
                    2, {{QStringLiteral("deletePath"), agent(QStringLiteral("job.plist"))}})));
                client.send(withToken(request(
                    2, {{QStringLiteral("deletePath"), agent(QStringLiteral("victim.plist"))}})));
                for (int r = 0; r < (isPrivileged ? 2 : 3); ++r)
                    QVERIFY(client.reply().has_value());
            }
            swaps = swapper.count();
        }
        QVERIFY2(swaps > 10, "the folders were hardly swapped");
        QCOMPARE(readAll(outside() + QStringLiteral("/victim.plist")), QByteArray("precious"));
        QCOMPARE(readAll(outside() + QStringLiteral("/job.plist")), QByteArray("precious"));
        QCOMPARE(entries(outside()),
                 (QStringList{QStringLiteral("job.plist"), QStringLiteral("victim.plist")}));
    }

    void theUsersAgentsFolderMadeALinkGivesRootNothingToRemove() {
        // Without any race: the folder the privileged helper may remove from points out.
        QVERIFY(QDir(agents()).removeRecursively());
        QVERIFY(QFile::link(outside(), agents()));
        QVERIFY(startPrivileged());
        Client client(m_helper->endpoint());
        PlistDict remove =
            request(2, {{QStringLiteral("deletePath"), agent(QStringLiteral("victim.plist"))}});
        remove.insert(QStringLiteral("authData"), m_helper->token());
        QCOMPARE(errorCode(client.request(remove)), std::optional<qint64>(4));
        QCOMPARE(readAll(outside() + QStringLiteral("/victim.plist")), QByteArray("precious"));
    }

    void aPrivilegedHelperActingForAUserTakesNoSocketPath() {
        if (::geteuid() != 0)
            QSKIP("only root acts for another user");
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("PKEXEC_UID"), QString::number(::getuid() + 1));
        const QString path = outside() + QStringLiteral("/chosen.sock");
        QProcess helper;
        helper.setProcessEnvironment(env);
        helper.start(HelperTest::program(QStringLiteral("vandra-privileged-helper")),
                     {QStringLiteral("--root"), root(), QStringLiteral("--socket"), path});
        QVERIFY(helper.waitForFinished(20000));
        QCOMPARE(helper.exitCode(), 2);
        QVERIFY(!QFileInfo::exists(path));
    }

    void aFileSwappedForALinkIsReplacedNotFollowed() {
        QVERIFY(startService());
        const QString job = agent(QStringLiteral("job.plist"));
        const QString link = agent(QStringLiteral("decoy"));
        QVERIFY(writeFile(job, jobText(QStringLiteral("job")).toUtf8()));
        QVERIFY(QFile::link(outside() + QStringLiteral("/victim.plist"), link));
        Client client(socketPath());
        {
            Swapper swapper(job, link);
            for (int i = 0; i < 200; ++i) {
                client.send(
                    request(0, {{QStringLiteral("path"), job},
                                {QStringLiteral("string"), jobText(QStringLiteral("job"))}}));
                QVERIFY(client.reply().has_value());
            }
        }
        QCOMPARE(readAll(outside() + QStringLiteral("/victim.plist")), QByteArray("precious"));
        QCOMPARE(entries(outside()), QStringList{QStringLiteral("victim.plist")});
    }

    void aLinkWhoseResolvedPathIsTooLongIsRefused() {
        QVERIFY(startService());
        // Two links, each to a folder nested 2,000 bytes deep: the whole path resolves to
        // more than PATH_MAX, while every piece is short.
        const QString long200(200, u'd');
        QString first = outside() + QStringLiteral("/deep");
        QString relative;
        for (int i = 0; i < 10; ++i)
            relative += long200 + u'/';
        QVERIFY(QDir(outside()).mkpath(QStringLiteral("deep/") + relative));
        QVERIFY(QFile::link(outside() + QStringLiteral("/deep/") + relative,
                            outside() + QStringLiteral("/one")));
        QVERIFY(QDir(outside() + QStringLiteral("/deep/") + relative).mkpath(relative));
        QVERIFY(
            QFile::link(outside() + QStringLiteral("/deep/") + relative + relative,
                        outside() + QStringLiteral("/deep/") + relative + QStringLiteral("two")));
        const QString target = outside() + QStringLiteral("/one/two/target.plist");
        QVERIFY(writeFile(target, "precious"));
        const QString job = agent(QStringLiteral("long.plist"));
        QVERIFY(QFile::link(target, job));

        Client client(socketPath());
        QCOMPARE(errorCode(client.request(
                     request(0, {{QStringLiteral("path"), job},
                                 {QStringLiteral("string"), jobText(QStringLiteral("long"))}}))),
                 std::optional<qint64>(5));
        QCOMPARE(readAll(target), QByteArray("precious"));
    }

    void aPathLongerThanPathMaxIsRefused() {
        QVERIFY(startService());
        // Past 65,536 characters a position in the path would wrap to a short, valid one.
        QString path = agents() + u'/';
        while (path.size() < 65536 + agent(QStringLiteral("a.plist")).size())
            path += QStringLiteral("x/../");
        path += QStringLiteral("a.plist");
        Client client(socketPath());
        QCOMPARE(errorCode(client.request(
                     request(0, {{QStringLiteral("path"), path},
                                 {QStringLiteral("string"), jobText(QStringLiteral("a"))}}))),
                 std::optional<qint64>(5));
        QCOMPARE(entries(agents()), QStringList());
    }

    void aSaveOnAFullDiskKeepsTheOriginalAndSaysSo() {
        if (::geteuid() != 0)
            QSKIP("mounting a small file system needs root");
        // The agents folder becomes a small file system, filled to the last byte.
        if (::mount("tmpfs", QFile::encodeName(agents()).constData(), "tmpfs", 0, "size=256k") != 0)
            QSKIP("cannot mount a tmpfs here");
        const auto unmount =
            qScopeGuard([this] { ::umount2(QFile::encodeName(agents()).constData(), MNT_DETACH); });
        const QString job = agent(QStringLiteral("job.plist"));
        const QByteArray original = jobText(QStringLiteral("job")).toUtf8();
        QVERIFY(writeFile(job, original));
        {
            QFile filler(agent(QStringLiteral("filler")));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            const QByteArray block(4096, 'f');
            while (filler.write(block) == block.size()) {
            }
            while (filler.write("f", 1) == 1) {
            }
        }
        QVERIFY(startService());
        Client client(socketPath());
        const QString changed =
            jobText(QStringLiteral("job"), {{QStringLiteral("Comment"), QStringLiteral("new")}});
        QCOMPARE(errorCode(client.request(request(
                     0, {{QStringLiteral("path"), job}, {QStringLiteral("string"), changed}}))),
                 std::optional<qint64>(5));
        QCOMPARE(readAll(job), original);
        QCOMPARE(entries(agents()),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("job.plist")}));

        // The program's own files go through the same write.
        QString error;
        QVERIFY(!PlistCodec::writeFileAtomically(job, changed.toUtf8(), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readAll(job), original);
        QCOMPARE(entries(agents()).size(), 2);
    }

    void aKilledWritersLeftoversNeitherBlockNorStay() {
        // A lock file made by a helper killed at once, and a temporary of the record.
        const QString state = Locations::shared().stateDir();
        QVERIFY(QDir().mkpath(state));
        QVERIFY(writeFile(state + QStringLiteral("/loaded.plist.lock"), QByteArray()));
        QVERIFY(writeFile(state + QStringLiteral("/.loaded.plist") +
                              QLatin1String(AtomicFile::temporaryMark) + QStringLiteral("Ab12Cd"),
                          "half"));
        QVERIFY(startService());
        QVERIFY(writeFile(agent(QStringLiteral("j.plist")), jobText(QStringLiteral("j")).toUtf8()));
        Client client(socketPath());
        // Answered within the client's bound, well before an age-based lock would be stale.
        QCOMPARE(
            errorCode(client.request(
                request(5, {{QStringLiteral("path"), agent(QStringLiteral("j.plist"))}}), 10000)),
            std::nullopt);
        QCOMPARE(entries(state), (QStringList{QStringLiteral("loaded.plist"),
                                              QStringLiteral("loaded.plist.lock")}));
    }

    void aBinaryReferenceBombHoldsUpNoOtherClient() {
        QVERIFY(startService());
        Client bomb(socketPath());
        QVERIFY(bomb.sendRaw(frameOf(referenceBomb(30))));
        // Others are served while the bomb is read, or refused.
        for (int i = 0; i < 3; ++i)
            verifyAnswers(socketPath());
    }

    void clientsBeyondTheOpenFileLimitAreTurnedAwayAndTheHelperKeepsListening() {
        QVERIFY(startService({}, [] {
            const rlimit limit{64, 64};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }));
        std::vector<std::unique_ptr<Client>> flood;
        for (int i = 0; i < 100; ++i)
            flood.push_back(std::make_unique<Client>(socketPath()));
        // Some were turned away rather than left waiting.
        int closed = 0;
        for (const auto &client : flood)
            closed += client->waitForClosed(100) ? 1 : 0;
        QVERIFY(closed > 0);
        flood.clear();
        QVERIFY(QFileInfo::exists(socketPath()));
        // Once the helper has seen the flood go, new clients are served again.
        QTRY_VERIFY_WITH_TIMEOUT(answers(socketPath()), 10000);
        verifyAnswers(socketPath());
    }

    void aClientTricklingAFrameIsClosedAfterTheFrameTimeout() {
        QVERIFY(startService({QStringLiteral("--frame-timeout"), QStringLiteral("2")}));
        Client slow(socketPath());
        const QByteArray frame =
            *HelperFrame::encode(request(4, {{QStringLiteral("label"), QStringLiteral("x")}}));
        // A byte every 300 ms never leaves the connection quiet for long, but the frame as a
        // whole takes far longer than the limit.
        qsizetype sent = 0;
        while (sent < frame.size() && slow.sendRaw(frame.mid(sent, 1))) {
            ++sent;
            if (slow.waitForClosed(300))
                break;
        }
        QVERIFY(sent < frame.size());
        QVERIFY(slow.waitForClosed(5000));
        verifyAnswers(socketPath());
    }

    void theEnvironmentChoosesNoProgramForThePrivilegedHelper() {
        if (::geteuid() != 0)
            QSKIP("only a helper running as root ignores its environment");
        const QString marker = root() + QStringLiteral("/ran");
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("VANDRA_JOURNALCTL"), QStringLiteral("/usr/bin/touch ") + marker);
        QVERIFY(startPrivileged(env));
        Client client(m_helper->endpoint());
        PlistDict log =
            request(9, {{QStringLiteral("logQuery"),
                         PlistDict{{QStringLiteral("searchString"), QStringLiteral("x")},
                                   {QStringLiteral("lastSeconds"), QStringLiteral("60")},
                                   {QStringLiteral("lastString"), QStringLiteral("1m")}}}});
        log.insert(QStringLiteral("authData"), m_helper->token());
        QVERIFY(client.request(log).has_value());
        QVERIFY(!QFileInfo::exists(marker));
    }

    void aDaemonsTestRunsAsItsUserWithOnlyItsOwnEnvironment() {
        TestUser user;
        if (!user.isMade())
            QSKIP(qPrintable(user.why()));
        QVERIFY(QFile::setPermissions(root(), QFile::Permissions(0x7755)));
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("PKEXEC_UID"), QString::number(user.uid()));
        env.insert(QStringLiteral("HELPER_SECRET"), QStringLiteral("leaked"));
        QVERIFY(startPrivileged(env));
        // The user's test folder, the user's alone.
        const QString folder = QDir(Locations::shared().temporaryFolder())
                                   .filePath(QStringLiteral("vandra-test-jobs-%1").arg(user.uid()));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chown(QFile::encodeName(folder).constData(), user.uid(), user.gid()) == 0);
        QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7700)));
        auto client = connectAs(user.uid(), user.gid(), m_helper->endpoint());
        QVERIFY(client && client->isConnected());
        const auto test = [&](const QString &label, const PlistDict &extra) {
            PlistDict job{{QStringLiteral("Label"), label},
                          {QStringLiteral("ProgramArguments"),
                           PlistValue(QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"),
                                                  QStringLiteral("id -u; id -g; env")})}};
            for (const auto &[key, value] : extra)
                job.insert(key, value);
            PlistDict dict = request(
                6,
                {{QStringLiteral("testPath"),
                  QString(folder + u'/' + label + QStringLiteral(".plist"))},
                 {QStringLiteral("testOutputPath"),
                  QString(folder + u'/' + label + QStringLiteral(".out"))},
                 {QStringLiteral("string"), QString::fromUtf8(*PlistCodec::toXml(PlistValue(job)))},
                 {QStringLiteral("label"), label}});
            dict.insert(QStringLiteral("authData"), m_helper->token());
            return client->request(dict);
        };
        const auto reply = test(QStringLiteral("asuser"),
                                {{QStringLiteral("UserName"), user.name()},
                                 {QStringLiteral("EnvironmentVariables"),
                                  PlistDict{{QStringLiteral("JOB_OWN"), QStringLiteral("kept")}}}});
        QCOMPARE(errorCode(reply), std::nullopt);
        const QString output = reply->value(QStringLiteral("test")).toString().value_or(QString());
        const QStringList lines = output.split(u'\n');
        QCOMPARE(lines.value(0), QString::number(user.uid()));
        QCOMPARE(lines.value(1), QString::number(user.gid()));
        QVERIFY(output.contains(QStringLiteral("JOB_OWN=kept")));
        QVERIFY(!output.contains(QStringLiteral("HELPER_SECRET")));

        // A user that does not exist runs nothing.
        QVERIFY(errorCode(test(QStringLiteral("nobodyhere"),
                               {{QStringLiteral("UserName"), QStringLiteral("no-such-user-xq")}}))
                    .has_value());
    }

    void aPrivilegedLogQueryReadsOnlyWhatTheUserCouldRead() {
        TestUser user;
        if (!user.isMade())
            QSKIP(qPrintable(user.why()));
        QVERIFY(QFile::setPermissions(root(), QFile::Permissions(0x7755)));
        const QString logs = root() + QStringLiteral("/logs");
        QVERIFY(QDir().mkpath(logs));
        QVERIFY(writeFile(logs + QStringLiteral("/secret.log"), "root only line"));
        QVERIFY(QFile::setPermissions(logs + QStringLiteral("/secret.log"), QFile::ReadOwner));
        QVERIFY(writeFile(logs + QStringLiteral("/open.log"), "everyone's line"));
        QVERIFY(
            writeFile(daemons() + QStringLiteral("/d.plist"),
                      jobText(QStringLiteral("d"), {{QStringLiteral("StandardOutPath"),
                                                     QString(logs + QStringLiteral("/secret.log"))},
                                                    {QStringLiteral("StandardErrorPath"),
                                                     QString(logs + QStringLiteral("/open.log"))}})
                          .toUtf8()));
        QProcessEnvironment env = environment();
        env.insert(QStringLiteral("PKEXEC_UID"), QString::number(user.uid()));
        QVERIFY(startPrivileged(env));
        auto client = connectAs(user.uid(), user.gid(), m_helper->endpoint());
        QVERIFY(client && client->isConnected());
        PlistDict log =
            request(9, {{QStringLiteral("logQuery"),
                         PlistDict{{QStringLiteral("searchString"), QStringLiteral("d")},
                                   {QStringLiteral("lastSeconds"), QStringLiteral("3600")},
                                   {QStringLiteral("lastString"), QStringLiteral("1h")}}}});
        log.insert(QStringLiteral("authData"), m_helper->token());
        const auto reply = client->request(log);
        QCOMPARE(errorCode(reply), std::nullopt);
        QString text;
        const PlistValue *found = reply->find(QStringLiteral("logQuery"));
        QVERIFY(found && found->array());
        for (const PlistValue &map : *found->array()) {
            for (const auto &[date, message] : *map.dict())
                text += message.toString().value_or(QString()) + u'\n';
        }
        QVERIFY(text.contains(QStringLiteral("everyone's line")));
        QVERIFY(!text.contains(QStringLiteral("root only line")));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestHelperAttacks)
#include "test_helperattacks.moc"

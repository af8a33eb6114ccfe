// The privileged helper driven as a real process: its handshake and who it serves.

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
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Vandra;

using HelperTest::Client;
using HelperTest::errorCode;

class TestPrivilegedHelper : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<HelperTest::Process> m_helper;

    QString daemons() const {
        return Locations::shared().localLibrary() + QStringLiteral("/LaunchDaemons");
    }
    QString userAgents() const {
        return Locations::shared().userLibrary() + QStringLiteral("/LaunchAgents");
    }

    bool startHelper(std::optional<uint> requestingUser = std::nullopt) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANDRA_JOURNALCTL"), QString());
        environment.remove(QStringLiteral("PKEXEC_UID"));
        if (requestingUser)
            environment.insert(QStringLiteral("PKEXEC_UID"), QString::number(*requestingUser));
        m_helper = std::make_unique<HelperTest::Process>();
        return m_helper->startPrivileged({QStringLiteral("--root"), m_root->path()}, environment);
    }

    PlistDict save(const QString &path, const std::optional<QByteArray> &authData) {
        PlistDict request{{QStringLiteral("kind"), 0},
                          {QStringLiteral("presentError"), true},
                          {QStringLiteral("privileged"), true},
                          {QStringLiteral("path"), path},
                          {QStringLiteral("string"), jobText(QStringLiteral("daemon"))}};
        if (authData)
            request.insert(QStringLiteral("authData"), *authData);
        return request;
    }

private Q_SLOTS:
    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
        Locations::initialize(m_root->path());
        QVERIFY(QDir().mkpath(daemons()));
        QVERIFY(QDir().mkpath(userAgents()));
    }

    void cleanup() {
        m_helper.reset();
        m_root.reset();
    }

    void theHandshakeIsTwoLinesEndpointAndToken() {
        QVERIFY(startHelper());
        const QList<QByteArray> lines = m_helper->handshakeOutput().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(2).isEmpty());
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{64}$"))
                    .match(QString::fromLatin1(lines.at(1)))
                    .hasMatch());
        const QFileInfo endpoint(m_helper->endpoint());
        QVERIFY(endpoint.isAbsolute());
        QVERIFY(endpoint.exists());
        // The endpoint's folder is private.
        QCOMPARE(QFileInfo(endpoint.absolutePath()).permissions() & 0x0077, QFile::Permissions());

        // Two helpers never share a token.
        const QByteArray token = m_helper->token();
        HelperTest::Process other;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("PKEXEC_UID"));
        QVERIFY(other.startPrivileged({QStringLiteral("--root"), m_root->path()}, environment));
        QVERIFY(other.token() != token);
        QVERIFY(other.endpoint() != m_helper->endpoint());
    }

    void requestsWithoutTheTokenAreRefusedAndTouchNothing_data() {
        QTest::addColumn<int>("variant");
        QTest::newRow("missing authData") << 0;
        QTest::newRow("wrong authData") << 1;
        QTest::newRow("shortened authData") << 2;
        QTest::newRow("authData as text") << 3;
    }

    void requestsWithoutTheTokenAreRefusedAndTouchNothing() {
        QFETCH(int, variant);
        QVERIFY(startHelper());
        const QString path = daemons() + QStringLiteral("/d.plist");
        QByteArray token = m_helper->token();
        PlistDict request = save(path, std::nullopt);
        if (variant == 1) {
            token[5] = char(token.at(5) ^ 1);
            request.insert(QStringLiteral("authData"), token);
        } else if (variant == 2) {
            request.insert(QStringLiteral("authData"), token.left(31));
        } else if (variant == 3) {
            request.insert(QStringLiteral("authData"), QString::fromLatin1(token.toHex()));
        }
        Client client(m_helper->endpoint());
        QCOMPARE(errorCode(client.request(request)), std::optional<qint64>(1));
        QVERIFY(!QFileInfo::exists(path));
        QTRY_VERIFY(m_helper->log().contains(QStringLiteral("refused")));

        // The right token on the same connection works.
        QCOMPARE(errorCode(client.request(save(path, m_helper->token()))), std::nullopt);
        QCOMPARE(QString::fromUtf8(readAll(path)), jobText(QStringLiteral("daemon")));
    }

    void requestsFromAnotherUserAreRefused() {
        // The helper works for another user than the one who connects.
        QVERIFY(startHelper(::getuid() + 1));
        const QString path = daemons() + QStringLiteral("/d.plist");
        Client client(m_helper->endpoint());
        QVERIFY(client.isConnected());
        QCOMPARE(errorCode(client.request(save(path, m_helper->token()))),
                 std::optional<qint64>(1));
        QVERIFY(!QFileInfo::exists(path));
        QTRY_VERIFY(m_helper->log().contains(QStringLiteral("from user")));
    }

    void theUsersAgentsFolderMayOnlyLoseFiles() {
        QVERIFY(startHelper());
        const QString agent = userAgents() + QStringLiteral("/mine.plist");
        QFile file(agent);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(jobText(QStringLiteral("mine")).toUtf8());
        file.close();

        Client client(m_helper->endpoint());
        QCOMPARE(errorCode(client.request(
                     save(userAgents() + QStringLiteral("/new.plist"), m_helper->token()))),
                 std::optional<qint64>(5));
        QVERIFY(!QFileInfo::exists(userAgents() + QStringLiteral("/new.plist")));

        // Moving a user agent to the daemons: written there, removed here.
        PlistDict move = save(daemons() + QStringLiteral("/mine.plist"), m_helper->token());
        move.insert(QStringLiteral("deletePath"), agent);
        QCOMPARE(errorCode(client.request(move)), std::nullopt);
        QVERIFY(!QFileInfo::exists(agent));
        QVERIFY(QFileInfo::exists(daemons() + QStringLiteral("/mine.plist")));
    }

    void testJobsGoOnlyIntoAFolderThatIsTheUsersAlone_data() {
        QTest::addColumn<bool>("isLink");
        QTest::newRow("a link to another folder") << true;
        QTest::newRow("a folder others may write to") << false;
    }

    void testJobsGoOnlyIntoAFolderThatIsTheUsersAlone() {
        QFETCH(bool, isLink);
        const QString folder = Locations::shared().testJobsDir();
        const QString elsewhere = m_root->path() + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(QDir().mkpath(QFileInfo(folder).absolutePath()));
        if (isLink) {
            QVERIFY(QFile::link(elsewhere, folder));
        } else {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::setPermissions(folder, QFile::Permissions(0x7777)));
        }
        QVERIFY(startHelper());
        const PlistDict test{
            {QStringLiteral("kind"), 6},
            {QStringLiteral("presentError"), true},
            {QStringLiteral("privileged"), true},
            {QStringLiteral("testPath"), QString(folder + QStringLiteral("/t.plist"))},
            {QStringLiteral("testOutputPath"), QString(folder + QStringLiteral("/t.out"))},
            {QStringLiteral("string"), jobText(QStringLiteral("t"))},
            {QStringLiteral("label"), QStringLiteral("t")},
            {QStringLiteral("authData"), m_helper->token()}};
        Client client(m_helper->endpoint());
        QCOMPARE(errorCode(client.request(test)), std::optional<qint64>(6));
        QVERIFY(QDir(elsewhere).isEmpty());
        QVERIFY(QDir(folder).isEmpty());

        // Once the folder is the user's alone, the same test runs.
        QVERIFY(QFile::remove(folder) || QDir(folder).removeRecursively());
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(errorCode(client.request(test)), std::nullopt);
    }

    void twoHelpersLoadingAtOnceLoseNoJob() {
        // Each user's helper keeps the machine's jobs in the one record.
        QVERIFY(startHelper());
        HelperTest::Process other;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("PKEXEC_UID"));
        QVERIFY(other.startPrivileged({QStringLiteral("--root"), m_root->path()}, environment));
        constexpr int perHelper = 40;
        Client first(m_helper->endpoint());
        Client second(other.endpoint());
        const auto saveAndLoad = [this](const QString &name, const QByteArray &token) {
            PlistDict request = save(daemons() + u'/' + name + QStringLiteral(".plist"), token);
            request.insert(QStringLiteral("kind"), 1);
            request.insert(QStringLiteral("string"), jobText(name));
            return request;
        };
        for (int i = 0; i < perHelper; ++i) {
            QVERIFY(first.send(saveAndLoad(QStringLiteral("a%1").arg(i), m_helper->token())));
            QVERIFY(second.send(saveAndLoad(QStringLiteral("b%1").arg(i), other.token())));
        }
        for (int i = 0; i < perHelper; ++i) {
            QCOMPARE(errorCode(first.reply()), std::nullopt);
            QCOMPARE(errorCode(second.reply()), std::nullopt);
        }
        const StateFileBackend state(
            Locations::shared().underRoot(QStringLiteral("/run/vandra/state/loaded.plist")));
        QCOMPARE(state.loaded().size(), 2 * perHelper);
    }

    void theHelperEndsWhenItsClientIsGone() {
        QVERIFY(startHelper());
        {
            Client client(m_helper->endpoint());
            QCOMPARE(errorCode(client.request(
                         save(daemons() + QStringLiteral("/d.plist"), m_helper->token()))),
                     std::nullopt);
        }
        QVERIFY(m_helper->waitForExit());
        QCOMPARE(m_helper->process().exitStatus(), QProcess::NormalExit);
        QVERIFY(!QFileInfo::exists(m_helper->endpoint()));
    }

    void uninstallingTheHelpersAnswersAndEnds() {
        QVERIFY(startHelper());
        Client client(m_helper->endpoint());
        const PlistDict uninstall{{QStringLiteral("kind"), 8},
                                  {QStringLiteral("presentError"), false},
                                  {QStringLiteral("privileged"), true},
                                  {QStringLiteral("authData"), m_helper->token()}};
        const auto reply = client.request(uninstall);
        QCOMPARE(errorCode(reply), std::nullopt);
        QVERIFY(client.waitForClosed());
        QVERIFY(m_helper->waitForExit());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestPrivilegedHelper)
#include "test_privilegedhelper.moc"

#include "common/testmain.h"
#include "model/kind.h"
#include "support/const.h"
#include "ui/window/joburl.h"
#include "ui/window/singleinstance.h"
#include "uitestroot.h"

#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

using namespace Vandra;

class TestJobUrl : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hostsKeepTheirCase() {
        // Base64 of this path holds capitals; a URL parser would lower-case the host.
        const QString path = QStringLiteral("/home/Anna/LaunchAgents/Org.Example.JOB.plist");
        const QString url = JobUrl::make(path);
        QVERIFY(url.startsWith(Const::Product::jobScheme + QStringLiteral("://")));
        QVERIFY(QUrl(url).host() != url.mid(url.indexOf(QStringLiteral("://")) + 3));
        QCOMPARE(JobUrl::path(url), std::optional<QString>(path));
    }

    void urlsFromOtherProgramsAreUnderstood() {
        const QString path = QStringLiteral("/etc/vandra/LaunchDaemons/a?b.plist");
        const QByteArray standard = path.toUtf8().toBase64();
        const QString scheme = Const::Product::jobScheme;
        // The standard alphabet with padding, a trailing slash, an escaped "=", a capital
        // scheme.
        QCOMPARE(JobUrl::path(scheme + QStringLiteral("://") + QString::fromLatin1(standard)),
                 path);
        QCOMPARE(JobUrl::path(scheme + QStringLiteral("://") + QString::fromLatin1(standard) +
                              QStringLiteral("/")),
                 path);
        QString escaped = QString::fromLatin1(standard);
        escaped.replace(QLatin1Char('='), QStringLiteral("%3D"));
        QCOMPARE(JobUrl::path(scheme + QStringLiteral("://") + escaped), path);
        QCOMPARE(
            JobUrl::path(scheme.toUpper() + QStringLiteral("://") + QString::fromLatin1(standard)),
            path);
    }

    void otherUrlsOpenNothing() {
        QVERIFY(!JobUrl::path(QStringLiteral("https://L2V0Yy9wYXNzd2Q")));
        QVERIFY(!JobUrl::path(Const::Product::jobScheme + QStringLiteral("://not*base64!")));
        QVERIFY(!JobUrl::path(Const::Product::jobScheme + QStringLiteral("://")));
        // Valid Base64, but not of a path.
        QVERIFY(!JobUrl::path(Const::Product::jobScheme + QStringLiteral("://aGVsbG8")));
        QVERIFY(!JobUrl::path(QStringLiteral("/etc/vandra/job.plist")));
    }

    void aSecondProgramHandsItsUrlToTheFirst() {
        UiTestRoot root;
        SingleInstance first(SingleInstance::defaultSocketPath());
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messagesReceived);

        const QString url = JobUrl::make(QStringLiteral("/etc/vandra/LaunchAgents/Job.plist"));
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANDRA_ROOT"), root.root().path());
        second.setProcessEnvironment(environment);
        second.start(qEnvironmentVariable("VANDRA_BIN") + QStringLiteral("/vandra"), {url});
        QVERIFY(second.waitForStarted(10000));
        QVERIFY(received.wait(30000));
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(received.first().first().toStringList(), QStringList{url});
    }

    void aProgramThatCannotMakeItsSocketStillStarts() {
        UiTestRoot root;
        // Where the socket's folder should be there is a file, so nobody can listen there.
        root.root().write(QStringLiteral("run/user"), QByteArrayLiteral("not a folder"));
        const QString agents = *Kinds::url(Kind::userAgent);
        QVERIFY(!QFileInfo::exists(agents));

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VANDRA_ROOT"), root.root().path());
        program.setProcessEnvironment(environment);
        program.start(qEnvironmentVariable("VANDRA_BIN") + QStringLiteral("/vandra"));
        QVERIFY(program.waitForStarted(10000));
        // A started program makes the user's agents folder.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFileInfo::exists(agents) || program.state() == QProcess::NotRunning, 30000);
        QCOMPARE(program.state(), QProcess::Running);
        program.kill();
        QVERIFY(program.waitForFinished(10000));
    }

    void onlyWholeMessagesAreHandedOver() {
        UiTestRoot root;
        SingleInstance first(SingleInstance::defaultSocketPath());
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::messagesReceived);
        const QString url = JobUrl::make(QStringLiteral("/etc/vandra/LaunchAgents/a.plist.bak"));

        // A sender cut off in the middle of a URL: the part that came could name another job.
        QLocalSocket sender;
        sender.connectToServer(SingleInstance::defaultSocketPath());
        QVERIFY(sender.waitForConnected(5000));
        sender.write("vandra-open\n" + url.toUtf8() + "\n" + url.left(url.size() - 4).toUtf8());
        QVERIFY(sender.waitForBytesWritten(5000));
        sender.disconnectFromServer();
        QVERIFY(received.wait(5000));
        QCOMPARE(received.first().first().toStringList(), QStringList{url});
    }

    void aSocketLeftByAnEndedProgramIsReplaced() {
        UiTestRoot root;
        const QString socket = SingleInstance::defaultSocketPath();
        QDir().mkpath(QFileInfo(socket).path());
        QFile stale(socket);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        SingleInstance first(socket);
        QVERIFY(first.listen());
        SingleInstance second(socket);
        QVERIFY(!second.listen());
        QSignalSpy received(&first, &SingleInstance::messagesReceived);
        QVERIFY(SingleInstance::send(socket, {}));
        QVERIFY(received.wait(5000));
        QVERIFY(received.first().first().toStringList().isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobUrl)
#include "test_joburl.moc"

#include "support/folderwatcher.h"
#include "support/secureurl.h"
#include "support/singlefoldermonitor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Vandra;

using namespace Qt::StringLiterals;

namespace {

bool touch(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

// The process's inotify instances: each one costs the kernel a wait when it is closed.
int inotifyInstances() {
    int count = 0;
    QDirIterator fds(u"/proc/self/fd"_s, QDir::Files | QDir::System);
    while (fds.hasNext()) {
        if (QFileInfo(fds.next()).symLinkTarget().endsWith(u"inotify"_s))
            ++count;
    }
    return count;
}

} // namespace

class TestFolders : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aBookmarkResolvesToItsFolderWhileTheFolderExists() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"linked jobs"_s);
        QVERIFY(QDir().mkpath(folder));
        const SecureURL grant(QUrl::fromLocalFile(folder));
        QCOMPARE(grant.path(), folder);
        const auto bookmark = grant.bookmark();
        QVERIFY(bookmark);

        const auto restored = SecureURL::fromBookmark(*bookmark);
        QVERIFY(restored);
        QCOMPARE(restored->url(), QUrl::fromLocalFile(folder));
        QVERIFY(*restored == grant);

        QVERIFY(QDir(folder).removeRecursively());
        QVERIFY(!SecureURL::fromBookmark(*bookmark));
    }

    void bookmarksThatAreNotFoldersDoNotResolve() {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"job.plist"_s);
        QVERIFY(touch(file));
        QVERIFY(!SecureURL::fromBookmark(file.toUtf8()));
        QVERIFY(!SecureURL::fromBookmark("relative/path"));
        QVERIFY(!SecureURL::fromBookmark(QByteArray()));
        QVERIFY(!SecureURL::fromBookmark("/\xff\xfe"));
        QVERIFY(!SecureURL(QUrl(u"https://example.org/"_s)).bookmark());
    }

    void aNewFileInTheFolderIsReported() {
        QTemporaryDir dir;
        SingleFolderMonitor monitor(dir.path());
        QSignalSpy spy(&monitor, &SingleFolderMonitor::changed);
        QVERIFY(touch(dir.filePath(u"new.plist"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
    }

    void aFolderMadeAfterTheMonitorStartedIsPickedUp() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"Library/LaunchAgents"_s);
        SingleFolderMonitor monitor(folder);
        QSignalSpy spy(&monitor, &SingleFolderMonitor::changed);
        QVERIFY(touch(dir.filePath(u"unrelated"_s)));
        QVERIFY(QDir().mkdir(dir.filePath(u"Library"_s)));
        QTest::qWait(100);
        QCOMPARE(spy.count(), 0); // the folder itself is still missing

        QVERIFY(QDir().mkdir(folder));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
        spy.clear();
        QVERIFY(touch(folder + u"/new.plist"_s));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
    }

    void aRemovedAndRemadeFolderIsWatchedAgain() {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"jobs"_s);
        QVERIFY(QDir().mkdir(folder));
        SingleFolderMonitor monitor(folder);
        QSignalSpy spy(&monitor, &SingleFolderMonitor::changed);
        QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
        QVERIFY(QDir().mkdir(folder));
        QTest::qWait(100);
        spy.clear();
        QVERIFY(touch(folder + u"/back.plist"_s));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
    }

    void monitorsSharingAWatchUseOneInstanceAndHearOnlyTheirFolders() {
        QTemporaryDir dir;
        const int before = inotifyInstances();
        FolderWatcher watcher;
        QList<std::shared_ptr<SingleFolderMonitor>> monitors;
        for (const QString &name : {u"agents"_s, u"daemons"_s, u"items"_s}) {
            QVERIFY(QDir().mkdir(dir.filePath(name)));
            monitors.append(std::make_shared<SingleFolderMonitor>(dir.filePath(name), watcher));
        }
        QCOMPARE(inotifyInstances(), before + 1);

        QSignalSpy agents(monitors.at(0).get(), &SingleFolderMonitor::changed);
        QSignalSpy daemons(monitors.at(1).get(), &SingleFolderMonitor::changed);
        QVERIFY(touch(dir.filePath(u"agents/new.plist"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(agents.count() > 0, 5000);
        QTest::qWait(100);
        QCOMPARE(daemons.count(), 0);
    }

    void aWatchSharedByTwoMissingFoldersOutlivesOneOfThem() {
        // Both wait for their folder through the same parent.
        QTemporaryDir dir;
        FolderWatcher watcher;
        auto gone = std::make_unique<SingleFolderMonitor>(dir.filePath(u"first"_s), watcher);
        SingleFolderMonitor kept(dir.filePath(u"second"_s), watcher);
        QSignalSpy spy(&kept, &SingleFolderMonitor::changed);
        QVERIFY(watcher.isWatching(dir.path()));
        gone.reset();
        QVERIFY(watcher.isWatching(dir.path()));

        QVERIFY(QDir().mkdir(dir.filePath(u"second"_s)));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > 0, 5000);
        QVERIFY(watcher.isWatching(dir.filePath(u"second"_s)));
        QVERIFY(!watcher.isWatching(dir.path()));
    }
};

QTEST_GUILESS_MAIN(TestFolders)
#include "test_folders.moc"

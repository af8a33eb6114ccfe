// The commands' parts that work without the main window: what a job shares and how, the
// file it hands to a drag, showing a file in the file manager over the session bus, and the
// About box.

#include "common/privatebus.h"
#include "common/testmain.h"
#include "model/joblist.h"
#include "platform/filemanagerreveal.h"
#include "platform/mailhandler.h"
#include "support/userdefaultskeys.h"
#include "testjobs.h"
#include "ui/modes/jobdrag.h"
#include "ui/window/aboutbox.h"
#include "ui/window/sharemenu.h"
#include "uitestroot.h"

#include <QAction>
#include <QClipboard>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QUrlQuery>

using namespace Vandra;

namespace {

QStringList actionNames(const QMenu &menu) {
    QStringList names;
    for (const QAction *action : menu.actions())
        names.append(action->objectName());
    return names;
}

void trigger(const QMenu &menu, const QString &name) {
    QAction *action = menu.findChild<QAction *>(name);
    QVERIFY2(action, qPrintable(name));
    action->trigger();
}

} // namespace

// Stands in for the desktop's file manager.
class FakeFileManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QList<QStringList> shown;

public Q_SLOTS:
    void ShowItems(const QStringList &uris, const QString &startupId) {
        Q_UNUSED(startupId)
        shown.append(uris);
    }
};

class TestCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aJobSharesItsPathFileTextAndEmail() {
        UiTestRoot root;
        root.placeUsualJobs();
        JobDiscovery::reloadJobs();
        const JobPtr job = jobLabelled(QStringLiteral("org.example.backup"));
        QVERIFY(job);
        QList<QUrl> opened;
        QMenu menu;
        ShareMenu share(
            &menu, [job] { return job; },
            [&opened](const QUrl &url) {
                opened.append(url);
                return true;
            },
            [] { return true; });
        share.rebuild();
        QCOMPARE(actionNames(menu),
                 QStringList({QStringLiteral("copyPathAction"), QStringLiteral("copyXmlAction"),
                              QStringLiteral("openWithAction"), QStringLiteral("mailAction")}));

        QClipboard *clipboard = QGuiApplication::clipboard();
        trigger(menu, QStringLiteral("copyPathAction"));
        QCOMPARE(clipboard->text(), *job->url);
        trigger(menu, QStringLiteral("copyXmlAction"));
        const QString xml = clipboard->text();
        QVERIFY(xml.startsWith(QStringLiteral("<?xml")));
        QVERIFY(xml.contains(QStringLiteral("<string>org.example.backup</string>")));

        trigger(menu, QStringLiteral("openWithAction"));
        trigger(menu, QStringLiteral("mailAction"));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(0), QUrl::fromLocalFile(*job->url));
        const QUrl mail = opened.at(1);
        QCOMPARE(mail.scheme(), QStringLiteral("mailto"));
        // The text arrives whole, its "&", "=" and "+" not taken for separators.
        const QUrlQuery query(mail);
        QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded), xml);
        QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("org.example.backup"));
        const QUrl tricky = ShareMenu::mailUrl(QStringLiteral("a&b"), QStringLiteral("x=1+2&y"));
        QCOMPARE(QUrlQuery(tricky).queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
                 QStringLiteral("x=1+2&y"));
    }

    void lockedJobsShareTheirCommandOnly() {
        UiTestRoot root;
        QMenu menu;
        JobPtr job = madeJob(Kind::loginItemSystemPreferences, QStringLiteral("Clock"),
                             QStringLiteral("LoginItem.SystemPreferences.Clock"));
        const auto current = [&job] { return job; };
        bool hasMailHandler = true;
        ShareMenu share(
            &menu, current, [](const QUrl &) { return true; },
            [&hasMailHandler] { return hasMailHandler; });
        share.rebuild();
        QCOMPARE(actionNames(menu),
                 QStringList({QStringLiteral("copyRunAction"), QStringLiteral("mailAction")}));
        trigger(menu, QStringLiteral("copyRunAction"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("/usr/bin/true --quiet"));

        // A system job may not be edited while the setting is off: no file, no text.
        job = madeJob(Kind::systemDaemon, QStringLiteral("org.example.system"),
                      QStringLiteral("/usr/lib/vandra/LaunchDaemons/system.plist"));
        job->plist = PlistDict();
        share.rebuild();
        QCOMPARE(actionNames(menu),
                 QStringList({QStringLiteral("copyRunAction"), QStringLiteral("mailAction")}));

        // With the setting on at start, the system job is shared like any other.
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, true);
        Kinds::resetForTesting();
        share.rebuild();
        QCOMPARE(actionNames(menu),
                 QStringList({QStringLiteral("copyPathAction"), QStringLiteral("copyXmlAction"),
                              QStringLiteral("openWithAction"), QStringLiteral("mailAction")}));
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, false);
        Kinds::resetForTesting();

        // Without a mail program, no e-mail.
        hasMailHandler = false;
        share.rebuild();
        QCOMPARE(actionNames(menu), QStringList({QStringLiteral("copyRunAction")}));

        // Without a job, or a kind, there is nothing.
        job.reset();
        share.rebuild();
        QCOMPARE(actionNames(menu), QStringList({QStringLiteral("nothingToShareAction")}));
        QVERIFY(!menu.actions().first()->isEnabled());
        job = madeJob(Kind::userAgent, QStringLiteral("a"), QStringLiteral("/tmp/a.plist"));
        job->kind.reset();
        QVERIFY(ShareItems::forJob(job).isEmpty());
    }

    void mailIsOfferedWhereTheDesktopNamesAMailProgram() {
        TestRoot root;
        const QString config = root.path(QStringLiteral("config"));
        const QString data = root.path(QStringLiteral("data"));
        QVERIFY(!MailHandler::isSetIn({config}, {data}));
        // Taken away again by the user: still none.
        root.write(QStringLiteral("config/mimeapps.list"),
                   "[Removed Associations]\nx-scheme-handler/mailto=mail.desktop;\n"
                   "[Default Applications]\nx-scheme-handler/mailto=;\n");
        QVERIFY(!MailHandler::isSetIn({config}, {data}));
        root.write(QStringLiteral("config/xfce-mimeapps.list"),
                   "[Default Applications]\nx-scheme-handler/mailto=mail.desktop\n");
        QVERIFY(MailHandler::isSetIn({config}, {data}));
        // An installed mail program registers itself in the cache of its folder.
        root.write(QStringLiteral("data/applications/mimeinfo.cache"),
                   "[MIME Cache]\nx-scheme-handler/mailto=thunderbird.desktop;\n");
        QVERIFY(MailHandler::isSetIn({}, {data}));
    }

    void onlyJobsWithAFileOfTheirOwnAreDragged() {
        UiTestRoot root;
        const JobPtr agent = madeJob(Kind::localAgent, QStringLiteral("org.example.cafe"),
                                     QStringLiteral("/etc/vandra/LaunchAgents/cafe.plist"));
        std::unique_ptr<QMimeData> data(JobDrag::mimeData(agent));
        QVERIFY(data);
        QVERIFY(data->hasFormat(QStringLiteral("text/uri-list")));
        QCOMPARE(data->urls(), QList<QUrl>{QUrl::fromLocalFile(
                                   QStringLiteral("/etc/vandra/LaunchAgents/cafe.plist"))});

        const JobPtr loginItem = madeJob(Kind::loginItemSystemPreferences, QStringLiteral("Clock"),
                                         QStringLiteral("LoginItem.SystemPreferences.Clock"));
        const JobPtr application =
            madeJob(Kind::loginItemApplication, QStringLiteral("Helper"),
                    QStringLiteral("/usr/lib/vandra/Applications/Helper.app"));
        const JobPtr unsaved = madeJob(Kind::userAgent, QStringLiteral("new"), std::nullopt);
        JobPtr kindless = madeJob(Kind::userAgent, QStringLiteral("odd"), QStringLiteral("/a"));
        kindless->kind.reset();
        for (const JobPtr &job : {loginItem, application, unsaved, kindless, JobPtr()}) {
            QVERIFY(!JobDrag::canDrag(job));
            QVERIFY(!JobDrag::mimeData(job));
        }
    }

    void revealAsksTheFileManagerOnTheSessionBus() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        TestRoot root;
        PrivateBus bus(root);
        QDBusConnection service = bus.connect(QStringLiteral("fileManager"));
        QVERIFY(service.isConnected());
        FakeFileManager fake;
        QVERIFY(service.registerObject(FileManagerReveal::path, &fake,
                                       QDBusConnection::ExportAllSlots));
        QVERIFY(service.registerService(FileManagerReveal::service));

        QStringList fallbacks;
        FileManagerReveal reveal(bus.connect(QStringLiteral("program")),
                                 [&fallbacks](const QString &folder) { fallbacks.append(folder); });
        QSignalSpy finished(&reveal, &FileManagerReveal::finished);
        reveal.reveal(QStringLiteral("/home/me/.config/vandra/LaunchAgents/a b.plist"));
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(fake.shown.size(), 1);
        QCOMPARE(fake.shown.first(),
                 QStringList(
                     {QStringLiteral("file:///home/me/.config/vandra/LaunchAgents/a%20b.plist")}));
        QVERIFY(fallbacks.isEmpty());
    }

    void revealOpensTheFolderWithoutAFileManager() {
        if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
            QSKIP("dbus-daemon is not installed");
        TestRoot root;
        PrivateBus bus(root);
        QStringList fallbacks;
        const auto fallback = [&fallbacks](const QString &folder) { fallbacks.append(folder); };
        FileManagerReveal reveal(bus.connect(QStringLiteral("program")), fallback);
        QSignalSpy finished(&reveal, &FileManagerReveal::finished);
        reveal.reveal(QStringLiteral("/etc/vandra/LaunchAgents/cafe.plist"));
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(fallbacks, QStringList({QStringLiteral("/etc/vandra/LaunchAgents")}));

        // No bus at all: the folder at once.
        FileManagerReveal offline(QDBusConnection(QStringLiteral("no such bus")), fallback);
        offline.reveal(QStringLiteral("/etc/vandra/LaunchDaemons/daemon.plist"));
        QCOMPARE(fallbacks.last(), QStringLiteral("/etc/vandra/LaunchDaemons"));
    }

    void aboutNamesTheVersionAndLibraries() {
        AboutBox box;
        const QString text = box.text();
        QVERIFY(text.contains(QStringLiteral(VANDRA_VERSION)));
        QVERIFY(text.contains(QStringLiteral("Qt ") + QString::fromLatin1(qVersion())));
        QVERIFY(text.contains(QStringLiteral("QScintilla 2.")));
        QVERIFY(text.contains(QStringLiteral("GNU General Public License")));
        const QString icu = AboutBox::libraryLines().last();
        QVERIFY2(QRegularExpression(QStringLiteral("^ICU \\d+\\.\\d+")).match(icu).hasMatch(),
                 qPrintable(icu));

        auto *backend = box.findChild<QLabel *>(QStringLiteral("aboutBackend"));
        QVERIFY(backend->isHidden());
        box.setBackendLine(QStringLiteral("Jobs are loaded as systemd units."));
        QVERIFY(!backend->isHidden());
        QVERIFY(box.text().endsWith(QStringLiteral("Jobs are loaded as systemd units.")));
    }
};

VANDRA_TEST_MAIN(TestCommands)
#include "test_commands.moc"

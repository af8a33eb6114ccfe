#include "support/locations.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Vandra;

using namespace Qt::StringLiterals;

class TestLocations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_CACHE_HOME");
        qunsetenv("VANDRA_ROOT");
    }

    void everyLocationLiesUnderTheRoot() {
        QTemporaryDir dir;
        const QString r = dir.path();
        qputenv("XDG_CONFIG_HOME", "/elsewhere/config"); // a root ignores the real machine
        Locations::initialize(r);
        const Locations &l = Locations::shared();
        QCOMPARE(l.root(), r);
        QCOMPARE(l.home(), r + u"/home"_s);
        QCOMPARE(l.userLibrary(), r + u"/home/.config/vandra"_s);
        QCOMPARE(l.localLibrary(), r + u"/etc/vandra"_s);
        QCOMPARE(l.systemLibrary(), r + u"/usr/lib/vandra"_s);
        QCOMPARE(l.applications(), r + u"/usr/lib/vandra/Applications"_s);
        QCOMPARE(l.appSupport(), r + u"/home/.local/share/vandra"_s);
        QCOMPARE(l.settingsFile(), r + u"/home/.config/vandra.conf"_s);
        QCOMPARE(l.userAutostart(), r + u"/home/.config/autostart"_s);
        QCOMPARE(l.systemAutostart(), r + u"/etc/xdg/autostart"_s);
        QCOMPARE(l.helperSocket(), r + u"/run/user/vandra/helper.sock"_s);
        QCOMPARE(l.stateDir(), r + u"/run/user/vandra/state"_s);
        QCOMPARE(l.testJobsDir(), r + u"/tmp/vandra-test-jobs-"_s + QString::number(getuid()));
        QCOMPARE(l.underRoot(u"/etc/passwd"_s), r + u"/etc/passwd"_s);
        QVERIFY(l.iconResources().startsWith(r + u'/'));
    }

    void withoutARootTheXdgVariablesDecide() {
        qputenv("XDG_CONFIG_HOME", "/xdg/config");
        qputenv("XDG_DATA_HOME", "relative/data"); // relative values are ignored
        qputenv("XDG_RUNTIME_DIR", "/xdg/run");
        Locations::initialize(QString());
        const Locations &l = Locations::shared();
        QVERIFY(l.root().isEmpty());
        QCOMPARE(l.home(), QDir::cleanPath(QDir::homePath()));
        QCOMPARE(l.userLibrary(), u"/xdg/config/vandra"_s);
        QCOMPARE(l.settingsFile(), u"/xdg/config/vandra.conf"_s);
        QCOMPARE(l.appSupport(), l.home() + u"/.local/share/vandra"_s);
        QCOMPARE(l.helperSocket(), u"/xdg/run/vandra/helper.sock"_s);
        QCOMPARE(l.localLibrary(), u"/etc/vandra"_s);
        QCOMPARE(l.underRoot(u"/etc/passwd"_s), u"/etc/passwd"_s);

        cleanup();
        Locations::initialize(QString());
        QCOMPARE(l.userLibrary(), l.home() + u"/.config/vandra"_s);
        // Without a runtime folder of the session's, the sockets stay in the user's own
        // folders: one in the shared temporary folder could be created first by anyone.
        QCOMPARE(l.runtimeDir(), l.home() + u"/.cache/vandra-runtime/vandra"_s);
        qputenv("XDG_CACHE_HOME", "/xdg/cache");
        Locations::initialize(QString());
        QCOMPARE(l.helperSocket(), u"/xdg/cache/vandra-runtime/vandra/helper.sock"_s);
    }

    void aRelativeRootIsMadeAbsoluteAndTheRootFolderMeansNoRoot() {
        Locations::initialize(u"some/where/"_s);
        QCOMPARE(Locations::shared().root(), QDir::current().absoluteFilePath(u"some/where"_s));
        Locations::initialize(u"/"_s);
        QVERIFY(Locations::shared().root().isEmpty());
    }

    void theRootComesFromEitherArgumentFormThenTheEnvironment() {
        QCOMPARE(Locations::rootFromArguments({u"prog"_s, u"--root"_s, u"/a"_s}), u"/a"_s);
        QCOMPARE(Locations::rootFromArguments({u"prog"_s, u"-v"_s, u"--root=/b"_s}), u"/b"_s);
        QVERIFY(Locations::rootFromArguments({u"prog"_s}).isEmpty());
        qputenv("VANDRA_ROOT", "/env");
        QCOMPARE(Locations::rootFromArguments({u"prog"_s}), u"/env"_s);
        QCOMPARE(Locations::rootFromArguments({u"prog"_s, u"--root"_s, u"/a"_s}), u"/a"_s);
        // A dangling option and anything after "--" are not roots.
        QCOMPARE(Locations::rootFromArguments({u"prog"_s, u"--root"_s}), u"/env"_s);
        QCOMPARE(Locations::rootFromArguments({u"prog"_s, u"--"_s, u"--root=/c"_s}), u"/env"_s);
    }

    void initializingAgainSwitchesTheSharedLocations() {
        QTemporaryDir first;
        QTemporaryDir second;
        Locations::initialize(first.path());
        const Locations &shared = Locations::shared();
        Locations::initialize(second.path());
        QCOMPARE(shared.root(), second.path());
        QCOMPARE(Locations::shared().home(), second.path() + u"/home"_s);
    }

    void temporaryFilesAreFreshAndNotCreated() {
        QTemporaryDir dir;
        Locations::initialize(dir.path());
        const Locations &l = Locations::shared();
        const QString a = l.temporaryFile();
        const QString b = l.temporaryFile(u"plist"_s);
        const QString c = l.temporaryFile(u".txt"_s);
        QVERIFY(a != b);
        QCOMPARE(QFileInfo(a).path(), dir.path() + u"/tmp"_s);
        QVERIFY(QFileInfo(QFileInfo(a).path()).isDir());
        QVERIFY(!QFileInfo::exists(a));
        QVERIFY(b.endsWith(u".plist"_s) && !b.endsWith(u"..plist"_s));
        QVERIFY(c.endsWith(u".txt"_s) && !c.endsWith(u"..txt"_s));
    }
};

QTEST_GUILESS_MAIN(TestLocations)
#include "test_locations.moc"

#include "common/files.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Vandra;

using namespace Qt::StringLiterals;
namespace Key = UserDefaultsKeys;

class TestDefaults : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<Defaults> m_defaults;

private Q_SLOTS:
    // Each test starts as a program would: its own settings under a fresh root.
    void init() {
        m_root = std::make_unique<QTemporaryDir>();
        Locations::initialize(m_root->path());
        m_defaults = std::make_unique<Defaults>();
        Defaults::install(m_defaults.get());
        Defaults::shared().registerDefaults();
    }

    void cleanup() {
        Defaults::install(nullptr);
        m_defaults.reset();
        m_root.reset();
    }

    void aFirstStartReadsTheRegisteredDefaults() {
        const Defaults &d = Defaults::shared();
        QCOMPARE(d.numberOfSavedRevisions(), 12);
        QCOMPARE(d.selectedMode(), 0);
        QCOMPARE(d.logPeriod(), 1);
        QCOMPARE(d.logLength(), 0);
        QCOMPARE(d.preferencesTab(), 0);
        QVERIFY(!d.showSystemJobs());
        QVERIFY(!d.showInternalHelpers());
        QVERIFY(d.automaticHelp());
        QVERIFY(d.automaticPATH());
        QVERIFY(d.runAgent());
        QVERIFY(!d.preferFullScreen());
        QVERIFY(d.resume());
        QVERIFY(!d.hasManuallyChangedTheme());
        QVERIFY(d.firstMajorVersionLaunch());
        QVERIFY(!d.editSystemJobs());
        QVERIFY(d.automaticallyCheckForUpdate());
        QCOMPARE(d.value(Key::exceptions), QVariant(QString()));
        QVERIFY(d.registeredDefault(Key::editorFontSize).isValid());
        // Settings without a default read as unset; registering writes nothing.
        QVERIFY(!d.value(Key::currentTheme).isValid());
        QVERIFY(!d.suppressAlertComplexRun());
        QVERIFY(!d.contains(Key::numberOfSavedRevisions));
        QVERIFY(!QFileInfo::exists(Locations::shared().settingsFile()));
    }

    void storedValuesWinAndSurviveAReload() {
        Defaults &d = Defaults::shared();
        d.setValue(Key::numberOfSavedRevisions, 3);
        d.setValue(Key::automaticHelp, false);
        const QVariantList folders{QByteArray("/srv/jobs"), QByteArray("/opt/more jobs")};
        d.setValue(Key::folders, folders);
        QCOMPARE(d.numberOfSavedRevisions(), 3);

        d.reload();
        QVERIFY(QFileInfo::exists(Locations::shared().settingsFile()));
        QCOMPARE(d.numberOfSavedRevisions(), 3);
        QVERIFY(!d.automaticHelp()); // read back from text, "false" must stay false
        QCOMPARE(d.value(Key::folders).toList(), folders);
        QCOMPARE(d.registeredDefault(Key::numberOfSavedRevisions), QVariant(12));

        d.remove(Key::numberOfSavedRevisions);
        QCOMPARE(d.numberOfSavedRevisions(), 12);
    }

    void negateFlipsAndEverySetIsSignalled() {
        Defaults &d = Defaults::shared();
        QSignalSpy spy(&d, &Defaults::changed);
        d.negate(Key::runAgent);
        QVERIFY(!d.runAgent());
        d.negate(Key::runAgent);
        QVERIFY(d.runAgent());
        d.negate(Key::suppressAlertComplexRun); // unset reads false
        QVERIFY(d.suppressAlertComplexRun());
        d.setValue(Key::selectedMode, 0); // same as the default, still signalled
        QCOMPARE(spy.count(), 4);
        QCOMPARE(spy.at(3).at(0).toString(), Key::selectedMode);
    }

    void anotherRootHasItsOwnSettings() {
        Defaults::shared().setValue(Key::logLength, 4);
        QTemporaryDir other;
        Locations::initialize(other.path());
        Defaults::shared().reload();
        QCOMPARE(Defaults::shared().logLength(), 0);
        Locations::initialize(m_root->path());
        Defaults::shared().reload();
        QCOMPARE(Defaults::shared().logLength(), 4);
    }

    void theWindowsOwnStateIsWrittenWithinASecondOrWhenFlushed() {
        Defaults &d = Defaults::shared();
        const QString file = Locations::shared().settingsFile();
        // The file's own lines: another QSettings in this process would share the unwritten
        // values.
        const auto stored = [&file](const QString &key) -> QVariant {
            const QByteArray prefix = key.toUtf8() + '=';
            for (const QByteArray &line : readAll(file).split('\n')) {
                if (line.startsWith(prefix))
                    return QString::fromUtf8(line.mid(prefix.size()));
            }
            return {};
        };
        QSignalSpy changed(&d, &Defaults::changed);
        d.setValueSoon(Key::selectedMode, 3);
        // Read back at once, told at once, on disk later.
        QCOMPARE(d.selectedMode(), 3);
        QCOMPARE(changed.count(), 1);
        QVERIFY(!stored(Key::selectedMode).isValid());
        d.flush();
        QCOMPARE(stored(Key::selectedMode).toInt(), 3);

        d.setValueSoon(Key::preferencesTab, 2);
        QTRY_COMPARE_WITH_TIMEOUT(stored(Key::preferencesTab).toInt(), 2, 5000);
        // A value written at once takes what is pending with it.
        d.setValueSoon(Key::selectedMode, 1);
        d.setValue(Key::logLength, 4);
        QCOMPARE(stored(Key::selectedMode).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDefaults)
#include "test_defaults.moc"

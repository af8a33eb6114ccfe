#include "common/testmain.h"
#include "common/testroot.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "model/launchdkey.h"
#include "model/schedulereader.h"
#include "model/schedulewriter.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"
#include "schedule/whenswitches.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"

#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

using Switch = WhenSwitches::Switch;

namespace {

const QString runAtLoad = QStringLiteral("RunAtLoad");
const QString startOnMount = QStringLiteral("StartOnMount");

JobPtr showJob(const PlistDict &plist, std::optional<Kind> kind = Kind::userAgent) {
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->plist = plist;
    if (const QList<ScheduledType> rules = readSchedule(plist); !rules.isEmpty()) {
        job->scheduled = rules;
        job->isScheduledEnabled = true;
    }
    if (const std::optional<bool> keepAlive = plist.value(LaunchdKey::KeepAlive).toBool())
        job->setKeepAlive(*keepAlive);
    JobList::shared().setCurrentJob(job);
    Bindings::shared().setEdited(false);
    return job;
}

} // namespace

class TestWhenSwitches : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestRoot> m_root;

private Q_SLOTS:
    void init() { m_root = std::make_unique<TestRoot>(); }

    void cleanup() {
        JobList::shared().reset();
        m_root.reset();
    }

    void loadingAttachesTheEditorAndShowsTheCurrentJob() {
        showJob({{LaunchdKey::StartInterval, PlistValue(60)}, {runAtLoad, PlistValue(true)}});
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.load();
        QCOMPARE(RuleEditorModel::attached(), &editor);
        QCOMPARE(editor.recordedPaths().size(), 6);
        QCOMPARE(editor.rowCount(), 1); // the default rows made way for the job's rule
        QVERIFY(when.isOn(Switch::runAtLoad));
        QVERIFY(when.isOn(Switch::scheduled));
        QVERIFY(!when.isOn(Switch::keepAlive));
        QVERIFY(!Bindings::shared().isEdited());
        QCOMPARE(WhenSwitches::title(Switch::runAtLoad), Localize::atStartupAndWhenSaving());
        QCOMPARE(WhenSwitches::title(Switch::scheduled), Localize::scheduled());
    }

    void switchesFollowTheJob_data() {
        QTest::addColumn<PlistDict>("plist");
        QTest::addColumn<QList<bool>>("states"); // run at load, keep alive, mounted, scheduled
        QTest::newRow("nothing") << PlistDict{} << QList<bool>{false, false, false, false};
        QTest::newRow("all on") << PlistDict{{runAtLoad, PlistValue(true)},
                                             {LaunchdKey::KeepAlive, PlistValue(true)},
                                             {startOnMount, PlistValue(true)},
                                             {LaunchdKey::StartInterval, PlistValue(300)}}
                                << QList<bool>{true, true, true, true};
        QTest::newRow("false values")
            << PlistDict{{runAtLoad, PlistValue(false)}, {startOnMount, PlistValue(false)}}
            << QList<bool>{false, false, false, false};
        QTest::newRow("texts are not Booleans")
            << PlistDict{{runAtLoad, PlistValue(QStringLiteral("true"))},
                         {startOnMount, PlistValue(1)}}
            << QList<bool>{false, false, false, false};
    }

    void switchesFollowTheJob() {
        QFETCH(PlistDict, plist);
        QFETCH(QList<bool>, states);
        RuleEditorModel editor;
        WhenSwitches when(editor);
        showJob(plist);
        when.update();
        const QList<bool> shown{when.isOn(Switch::runAtLoad), when.isOn(Switch::keepAlive),
                                when.isOn(Switch::mountedVolume), when.isOn(Switch::scheduled)};
        QCOMPARE(shown, states);

        JobList::shared().setCurrentJob(nullptr);
        when.update();
        QVERIFY(!when.isOn(Switch::runAtLoad) && !when.isOn(Switch::scheduled));
        QCOMPARE(editor.rowCount(), 0);
    }

    void runAtLoadAndMountedVolumeStoreTheirBoolean() {
        JobPtr job = showJob({{runAtLoad, PlistValue(true)}});
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.update();
        QSignalSpy changed(&when, &WhenSwitches::switchChanged);
        when.setSwitch(Switch::runAtLoad, false);
        // Off is written as false, not by removing the key.
        QCOMPARE(job->plist->value(runAtLoad), PlistValue(false));
        QVERIFY(job->changes().contains(Change::selfUpdating));
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(changed.count(), 1);
        when.setSwitch(Switch::mountedVolume, true);
        QCOMPARE(job->plist->value(startOnMount), PlistValue(true));
        QVERIFY(when.isOn(Switch::mountedVolume));
    }

    void keepAliveSwitchSetsTheSuccessfulExitOption() {
        JobPtr job = showJob({});
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.update();
        QSignalSpy refresh(&when, &WhenSwitches::advancedPageNeedsRefresh);

        when.setSwitch(Switch::keepAlive, true);
        QCOMPARE(job->keepAlive(), true);
        QCOMPARE(job->isKeepAliveSuccessfulExitSet(), true);
        QVERIFY(job->isKeepAliveSuccessfulExitEnabled);
        QVERIFY(Bindings::shared().isKeepAliveSuccessfulExitEnabled());
        QVERIFY(job->changes().contains(Change::keepAlive));
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(refresh.count(), 1);

        // A successful-exit choice already made is kept while keep-alive stays on.
        job->setKeepAliveSuccessfulExitSet(false);
        when.setSwitch(Switch::keepAlive, true);
        QCOMPARE(job->isKeepAliveSuccessfulExitSet(), false);

        when.setSwitch(Switch::keepAlive, false);
        QCOMPARE(job->keepAlive(), false);
        QVERIFY(!job->isKeepAliveSuccessfulExitSet().has_value());
        QVERIFY(!job->isKeepAliveSuccessfulExitEnabled);
        QVERIFY(!Bindings::shared().isKeepAliveSuccessfulExitEnabled());
        QCOMPARE(refresh.count(), 3);
    }

    void schedulingAJobWithoutRulesAddsARepeatIntervalRow() {
        JobPtr job = showJob({});
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.load();
        QCOMPARE(editor.rowCount(), 0);
        when.setSwitch(Switch::scheduled, true);
        QVERIFY(job->isScheduledEnabled);
        QVERIFY(Bindings::shared().isScheduledEnabled());
        QVERIFY(job->changes().contains(Change::time));
        QCOMPARE(editor.rowCount(), 1);
        QCOMPARE(editor.rows().first().path, (QList<int>{0, 0, 0}));
        QCOMPARE(std::get<RuleTextField>(editor.rows().first().values.at(2)).text, QString());
        // The empty field writes no interval until a number is typed.
        PlistDict plist;
        writeSchedule(&editor.rows(), job->isScheduledEnabled, plist);
        QVERIFY(plist.isEmpty());
    }

    void switchingTheScheduleOffKeepsTheRows() {
        JobPtr job = showJob({{LaunchdKey::StartInterval, PlistValue(7200)}});
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.update();
        when.setSwitch(Switch::scheduled, false);
        QVERIFY(!job->isScheduledEnabled);
        QVERIFY(!Bindings::shared().isScheduledEnabled());
        QCOMPARE(editor.rowCount(), 1);
        PlistDict plist = *job->plist;
        writeSchedule(&editor.rows(), job->isScheduledEnabled, plist);
        QVERIFY(!plist.contains(LaunchdKey::StartInterval));

        when.setSwitch(Switch::scheduled, true);
        QCOMPARE(editor.rowCount(), 1); // no default row beside the kept one
        writeSchedule(&editor.rows(), job->isScheduledEnabled, plist);
        QCOMPARE(plist.value(LaunchdKey::StartInterval), PlistValue(7200));
    }

    void switchesWithoutAJobChangeNoJob() {
        auto other = std::make_shared<Job>();
        other->plist = PlistDict{};
        JobList::shared().setCurrentJob(nullptr);
        RuleEditorModel editor;
        WhenSwitches when(editor);
        when.setSwitch(Switch::runAtLoad, true);
        when.setSwitch(Switch::keepAlive, true);
        when.setSwitch(Switch::scheduled, true);
        QVERIFY(when.isOn(Switch::runAtLoad));
        QVERIFY(other->plist->isEmpty());
        QVERIFY(!other->isChangesSet());
        QVERIFY(!Bindings::shared().isEdited());
    }

    void ruleEditorIsReadOnlyForLockedKinds_data() {
        QTest::addColumn<std::optional<Kind>>("kind");
        QTest::addColumn<bool>("editSystemJobs");
        QTest::addColumn<bool>("editable");
        QTest::newRow("user agent") << std::optional<Kind>(Kind::userAgent) << false << true;
        QTest::newRow("local daemon") << std::optional<Kind>(Kind::localDaemon) << false << true;
        QTest::newRow("no kind") << std::optional<Kind>() << false << true;
        QTest::newRow("system daemon") << std::optional<Kind>(Kind::systemDaemon) << false << false;
        QTest::newRow("system daemon, editing system jobs")
            << std::optional<Kind>(Kind::systemDaemon) << true << true;
        QTest::newRow("startup item")
            << std::optional<Kind>(Kind::localStartupItem) << true << false;
    }

    void ruleEditorIsReadOnlyForLockedKinds() {
        QFETCH(std::optional<Kind>, kind);
        QFETCH(bool, editSystemJobs);
        QFETCH(bool, editable);
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, editSystemJobs);
        RuleEditorModel editor;
        WhenSwitches when(editor);
        showJob({{LaunchdKey::StartInterval, PlistValue(60)}}, kind);
        when.update();
        QCOMPARE(editor.isEditable(), editable);
        QCOMPARE(editor.setValue(0, 2, RuleTextField{QStringLiteral("5")}), editable);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestWhenSwitches)
#include "test_whenswitches.moc"

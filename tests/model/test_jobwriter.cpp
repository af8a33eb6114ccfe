#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "platform/plistcodec.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QTest>

using namespace Vandra;

namespace {

PlistValue texts(const QStringList &list) {
    return PlistValue(list);
}

} // namespace

// Writing rebuilds only the keys of recorded changes; every other key goes back as read.
class TestJobWriter : public QObject {
    Q_OBJECT

private:
    // Reads dict as the current job, so that edits record their changes.
    static JobPtr current(PlistDict dict) {
        if (!dict.contains(s("Label")))
            dict.insert(s("Label"), PlistValue(s("org.example.job")));
        JobPtr job = JobReader::jobFromPlist(dict, s("/tmp/job.plist"), Kind::userAgent);
        JobList::shared().setCurrentJob(job);
        return job;
    }

    static PlistDict write(const JobPtr &job) { return JobWriter::makePlist(*job, nullptr); }

private Q_SLOTS:
    void keepAliveEditsKeepTheFileMeaning_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<bool>("successfulExit");
        QTest::addColumn<PlistValue>("expected");
        const PlistValue conditions(
            PlistDict{{s("PathState"), PlistValue(PlistDict{{s("/tmp/x"), PlistValue(true)}})},
                      {s("Crashed"), PlistValue(true)}});
        QTest::newRow("plain true, box untouched, stays true")
            << PlistDict{{s("KeepAlive"), PlistValue(true)}} << false << PlistValue(true);
        QTest::newRow("plain true, box ticked, restart after success")
            << PlistDict{{s("KeepAlive"), PlistValue(true)}} << true
            << PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(true)}});
        QTest::newRow("conditions, box untouched, stay as written")
            << PlistDict{{s("KeepAlive"), conditions}} << false << conditions;
        PlistDict withSuccess = *conditions.dict();
        withSuccess.insert(s("SuccessfulExit"), PlistValue(true));
        QTest::newRow("conditions, box ticked, only successful exit added")
            << PlistDict{{s("KeepAlive"), conditions}} << true << PlistValue(withSuccess);
        QTest::newRow("nothing, switched on, what the form shows")
            << PlistDict{} << true
            << PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(true)}});
    }

    void keepAliveEditsKeepTheFileMeaning() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        QFETCH(PlistDict, dict);
        QFETCH(bool, successfulExit);
        QFETCH(PlistValue, expected);
        const JobPtr job = current(dict);
        job->setKeepAlive(true);
        job->setKeepAliveSuccessfulExitSet(successfulExit);
        QVERIFY(job->changes().contains(Change::keepAlive));
        QCOMPARE(write(job).value(s("KeepAlive")), expected);
    }

    void keepAliveSwitchedOffRemovesTheKey() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const JobPtr job = current(
            {{s("KeepAlive"), PlistValue(PlistDict{{s("NetworkState"), PlistValue(true)}})}});
        job->setKeepAlive(false);
        QVERIFY(!write(job).contains(s("KeepAlive")));
    }

    void switchingKeepAliveOffDropsOnDemand() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const JobPtr job = current({{s("OnDemand"), PlistValue(false)}});
        QVERIFY(*job->keepAlive());
        job->setKeepAlive(false);
        const PlistDict d = write(job);
        QVERIFY(!d.contains(s("KeepAlive")));
        QVERIFY(!d.contains(s("OnDemand")));

        const JobPtr textual = current({{s("OnDemand"), PlistValue(s("no"))}});
        textual->setKeepAlive(true);
        QCOMPARE(write(textual).value(s("OnDemand")), PlistValue(s("no")));
    }

    void watchPathReplacesOnlyTheFirst() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const PlistDict three{{s("WatchPaths"), texts({s("/a"), s("/b"), s("/c")})}};
        JobPtr job = current(three);
        job->setWatchPath(s("/x"));
        QCOMPARE(write(job).value(s("WatchPaths")), texts({s("/x"), s("/b"), s("/c")}));
        job->setWatchPath(QString());
        QCOMPARE(write(job).value(s("WatchPaths")), texts({s("/b"), s("/c")}));

        job = current({{s("WatchPaths"), texts({s("/a")})}});
        job->setWatchPath(std::nullopt);
        QVERIFY(!write(job).contains(s("WatchPaths")));
    }

    void sessionTypeIsWrittenAsAListWithTheChoiceFirst() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        JobPtr job = current({{s("LimitLoadToSessionType"), texts({s("Aqua"), s("LoginWindow")})}});
        job->setLimitLoadToSessionTypeIndex(2);
        QCOMPARE(write(job).value(s("LimitLoadToSessionType")), texts({s("LoginWindow")}));

        job = current({{s("LimitLoadToSessionType"), PlistValue(s("Background"))}});
        job->setLimitLoadToSessionTypeIndex(0);
        QCOMPARE(write(job).value(s("LimitLoadToSessionType")), texts({s("Aqua")}));

        job->setLimitLoadToSessionTypeEnabled(false);
        QVERIFY(!write(job).contains(s("LimitLoadToSessionType")));
    }

    void machServicesEditOnlyTheFirstName() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const PlistValue options(PlistDict{{s("ResetAtClose"), PlistValue(true)}});
        const JobPtr job = current(
            {{s("MachServices"),
              PlistValue(PlistDict{{s("org.a"), options}, {s("org.b"), PlistValue(true)}})}});
        QCOMPARE(*job->machServicesKey(), s("org.a"));
        job->setMachServicesKey(s("org.a"));
        QCOMPARE(write(job).value(s("MachServices")), job->plist->value(s("MachServices")));
        job->setMachServicesKey(s("org.c"));
        QCOMPARE(write(job).value(s("MachServices")),
                 PlistValue(PlistDict{{s("org.c"), options}, {s("org.b"), PlistValue(true)}}));
        job->setMachServicesKey(QString());
        QCOMPARE(write(job).value(s("MachServices")),
                 PlistValue(PlistDict{{s("org.b"), PlistValue(true)}}));

        const JobPtr fresh = current({});
        fresh->setMachServicesKey(s("org.new"));
        QCOMPARE(write(fresh).value(s("MachServices")),
                 PlistValue(PlistDict{{s("org.new"), PlistValue(true)}}));
    }

    void scheduleIsRebuiltOnlyAfterAnEdit_data() {
        QTest::addColumn<PlistValue>("calendar");
        const auto entry = [](std::initializer_list<PlistDict::Entry> entries) {
            return PlistValue(PlistDict(entries));
        };
        QTest::newRow("noon in January") << entry({{s("Month"), PlistValue(1)},
                                                   {s("Hour"), PlistValue(12)},
                                                   {s("Minute"), PlistValue(0)}});
        QTest::newRow("every minute") << entry({});
        QTest::newRow("every minute of midnight's hour") << entry({{s("Hour"), PlistValue(0)}});
        QTest::newRow("array with an unknown key") << PlistValue(
            PlistArray{entry({{s("Weekday"), PlistValue(7)}, {s("X"), PlistValue(1)}})});
    }

    void scheduleIsRebuiltOnlyAfterAnEdit() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        QFETCH(PlistValue, calendar);
        const JobPtr job =
            current({{s("StartCalendarInterval"), calendar}, {s("StartInterval"), PlistValue(3)}});
        const RuleRows rows;
        PlistDict d = JobWriter::makePlist(*job, &rows);
        QCOMPARE(d.value(s("StartCalendarInterval")), calendar);
        QCOMPARE(d.value(s("StartInterval")), PlistValue(3));

        job->recordChange(Change::time);
        d = JobWriter::makePlist(*job, &rows);
        QVERIFY(!d.contains(s("StartCalendarInterval")));
        QVERIFY(!d.contains(s("StartInterval")));
    }

    void runIsSplitIntoArguments() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const JobPtr job = current({{s("Program"), PlistValue(s("/usr/bin/old"))},
                                    {s("What"), PlistValue(s("legacy"))},
                                    {s("ProgramArguments"), texts({s("old")})}});
        job->setRun(s("/bin/sh -c \"echo hi there\""));
        const PlistDict d = write(job);
        QVERIFY(!d.contains(s("Program")));
        QVERIFY(!d.contains(s("What")));
        QCOMPARE(d.value(s("ProgramArguments")),
                 texts({s("/bin/sh"), s("-c"), s("echo hi there")}));
    }

    void anUneditedRunKeepsItsKeysExactly() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const PlistDict dict{{s("Label"), PlistValue(s("x"))},
                             {s("Program"), PlistValue(s("/usr/bin/tool"))},
                             {s("What"), PlistValue(42)},
                             {s("ProgramArguments"), PlistValue(s("tool"))}};
        const JobPtr job = current(dict);
        job->setWatchPath(s("/tmp"));
        const PlistDict d = write(job);
        QCOMPARE(d.value(s("Program")), dict.value(s("Program")));
        QCOMPARE(d.value(s("What")), PlistValue(42));
        QCOMPARE(d.value(s("ProgramArguments")), PlistValue(s("tool")));
    }

    void enabledStateAndLabelAreAlwaysWritten() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        JobPtr job = current({{s("Disabled"), PlistValue(false)}});
        QVERIFY(!write(job).contains(s("Disabled")));
        job->setEnabled(false);
        job->label = s("renamed");
        const PlistDict d = write(job);
        QCOMPARE(d.value(s("Disabled")), PlistValue(true));
        QCOMPARE(d.value(s("Label")), PlistValue(s("renamed")));
        QCOMPARE(job->plist->value(s("Label")), PlistValue(s("org.example.job")));
    }

    void aDisabledOfAnotherTypeStaysUntilTheStateIsSet() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const JobPtr job = current({{s("Disabled"), PlistValue(s("yes"))}});
        QCOMPARE(write(job).value(s("Disabled")), PlistValue(s("yes")));
        job->setEnabled(true);
        QVERIFY(!write(job).contains(s("Disabled")));
        job->setEnabled(false);
        QCOMPARE(write(job).value(s("Disabled")), PlistValue(true));
    }

    void automaticPathAddsOrKeepsPath() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, true);
        const PlistValue defaultPath(Const::Misc::defaultPATH);
        QCOMPARE(write(current({})).value(s("EnvironmentVariables")),
                 PlistValue(PlistDict{{s("PATH"), defaultPath}}));
        QCOMPARE(write(current({{s("EnvironmentVariables"), PlistValue(s("oops"))}}))
                     .value(s("EnvironmentVariables")),
                 PlistValue(PlistDict{{s("PATH"), defaultPath}}));
        QCOMPARE(write(current({{s("EnvironmentVariables"),
                                 PlistValue(PlistDict{{s("LANG"), PlistValue(s("C"))}})}}))
                     .value(s("EnvironmentVariables")),
                 PlistValue(PlistDict{{s("LANG"), PlistValue(s("C"))}, {s("PATH"), defaultPath}}));
        QCOMPARE(write(current({{s("EnvironmentVariables"),
                                 PlistValue(PlistDict{{s("PATH"), PlistValue(7)}})}}))
                     .value(s("EnvironmentVariables")),
                 PlistValue(PlistDict{{s("PATH"), PlistValue(7)}}));
    }

    void unknownKeysSurviveWithTheirTypes() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        const PlistDict unknown{
            {s("Nice"), PlistValue(-5)},
            {s("Ratio"), PlistValue(0.25)},
            {s("Blob"), PlistValue(QByteArray("\x00\x01\xff", 3))},
            {s("When"), PlistValue(QDateTime(QDate(2020, 2, 29), QTime(12, 0), Qt::UTC))},
            {s("Nested"),
             PlistValue(PlistArray{PlistValue(PlistDict{{s("a"), PlistValue(false)}})})},
        };
        PlistDict dict = unknown;
        dict.insert(s("ProgramArguments"), texts({s("/bin/true")}));
        const JobPtr job = current(dict);
        job->setRun(s("/bin/false"));
        job->setKeepAlive(true);
        const PlistDict d = write(job);
        for (const auto &[key, value] : unknown)
            QCOMPARE(d.value(key), value);
    }

    void programIsAddedWhenNothingRuns() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, false);
        QCOMPARE(write(current({})).value(s("Program")), PlistValue(QString()));
    }

    void itemsWithoutADictionaryWriteAnEmptyOne() {
        TestRoot root;
        Job item;
        QVERIFY(JobWriter::makePlist(item, nullptr).isEmpty());
        const std::optional<QString> text = JobWriter::fileText(item, nullptr);
        QVERIFY(text);
        const PlistReadResult back = PlistCodec::read(text->toUtf8());
        QVERIFY(back.ok());
        QCOMPARE(*back.value, PlistValue(PlistDict()));
    }

    void writingLeavesTheRecordAlone() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::automaticPATH, true);
        const JobPtr job = current({{s("Disabled"), PlistValue(false)}});
        const PlistDict before = *job->plist;
        job->setRun(s("/bin/true"));
        (void)write(job);
        QCOMPARE(*job->plist, before);
        QVERIFY(job->changes().contains(Change::run));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobWriter)
#include "test_jobwriter.moc"

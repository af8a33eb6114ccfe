#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/bindings.h"
#include "model/jobreader.h"
#include "model/keepalivetext.h"
#include "model/kind.h"
#include "model/scheduleexactness.h"
#include "platform/plistcodec.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <limits>

using namespace Vandra;

namespace {

PlistValue texts(const QStringList &list) {
    return PlistValue(list);
}

} // namespace

class TestJobReader : public QObject {
    Q_OBJECT

private:
    static JobPtr read(const PlistDict &dict, Kind kind = Kind::userAgent) {
        PlistDict withLabel = dict;
        if (!withLabel.contains(s("Label")))
            withLabel.insert(s("Label"), PlistValue(s("org.example.job")));
        return JobReader::jobFromPlist(withLabel, s("/tmp/job.plist"), kind);
    }

private Q_SLOTS:
    void keepAliveForms_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<bool>("keepAlive");
        QTest::addColumn<bool>("successfulExit");
        QTest::newRow("true") << PlistDict{{s("KeepAlive"), PlistValue(true)}} << true << false;
        QTest::newRow("successful exit false")
            << PlistDict{{s("KeepAlive"),
                          PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(false)}})}}
            << true << false;
        QTest::newRow("successful exit true")
            << PlistDict{{s("KeepAlive"),
                          PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(true)}})}}
            << true << true;
        QTest::newRow("empty dictionary")
            << PlistDict{{s("KeepAlive"), PlistValue(PlistDict())}} << true << false;
        QTest::newRow("on demand false")
            << PlistDict{{s("OnDemand"), PlistValue(false)}} << true << false;
        QTest::newRow("on demand true")
            << PlistDict{{s("OnDemand"), PlistValue(true)}} << false << false;
        QTest::newRow("missing") << PlistDict() << false << false;
        QTest::newRow("keep alive false wins over on demand")
            << PlistDict{{s("KeepAlive"), PlistValue(false)}, {s("OnDemand"), PlistValue(false)}}
            << false << false;
        QTest::newRow("integer is no Boolean")
            << PlistDict{{s("KeepAlive"), PlistValue(1)}} << false << false;
    }

    void keepAliveForms() {
        TestRoot root;
        QFETCH(PlistDict, dict);
        QFETCH(bool, keepAlive);
        QFETCH(bool, successfulExit);
        const JobPtr job = read(dict);
        QVERIFY(job);
        QCOMPARE(job->keepAlive(), keepAlive);
        QCOMPARE(job->isKeepAliveSuccessfulExitSet(), successfulExit);
        QVERIFY(job->changes().isEmpty());
    }

    void disabledMustBeABoolean() {
        TestRoot root;
        QVERIFY(!read({{s("Disabled"), PlistValue(true)}})->isEnabled());
        QVERIFY(read({{s("Disabled"), PlistValue(false)}})->isEnabled());
        const JobPtr textual = read({{s("Disabled"), PlistValue(s("true"))}});
        QVERIFY(!textual->enabledState());
        QVERIFY(textual->isEnabled());
    }

    void runTextComposition_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<QString>("run");
        QTest::addColumn<QString>("icon");
        QTest::newRow("sh -c with spaces")
            << PlistDict{{s("ProgramArguments"),
                          texts({s("/bin/sh"), s("-c"), s("echo hi there")})}}
            << s("/bin/sh -c \"echo hi there\"") << s("/bin/sh");
        QTest::newRow("double quote inside takes single quotes")
            << PlistDict{{s("ProgramArguments"), texts({s("/bin/echo"), s("say \"hi\" now")})}}
            << s("/bin/echo 'say \"hi\" now'") << s("/bin/echo");
        QTest::newRow("an argument with quotes of its own is quoted again")
            << PlistDict{{s("ProgramArguments"), texts({s("/bin/echo"), s("'a b'")})}}
            << s("/bin/echo \"'a b'\"") << s("/bin/echo");
        QTest::newRow("a backslash before a space is kept")
            << PlistDict{{s("ProgramArguments"), texts({s("/bin/ls"), s("My\\ Files")})}}
            << s("/bin/ls \"My\\ Files\"") << s("/bin/ls");
        QTest::newRow("a program path with spaces is quoted")
            << PlistDict{{s("Program"),
                          PlistValue(s("/Library/Application Support/Tool/bin/agent"))}}
            << s("\"/Library/Application Support/Tool/bin/agent\"")
            << s("/Library/Application Support/Tool/bin/agent");
        QTest::newRow("both quote kinds and a space in one argument")
            << PlistDict{{s("ProgramArguments"), texts({s("/bin/echo"), s("'a b' \"c\"")})}}
            << s("/bin/echo \"'a b' \"c\"\"") << s("/bin/echo");
        QTest::newRow("program with its own name as first argument")
            << PlistDict{{s("Program"), PlistValue(s("/usr/bin/tool"))},
                         {s("ProgramArguments"), texts({s("tool"), s("x.txt")})}}
            << s("/usr/bin/tool x.txt") << s("/usr/bin/tool");
        QTest::newRow("program with its full path as first argument")
            << PlistDict{{s("Program"), PlistValue(s("/usr/bin/tool"))},
                         {s("ProgramArguments"), texts({s("/usr/bin/tool"), s("x")})}}
            << s("/usr/bin/tool x") << s("/usr/bin/tool");
        QTest::newRow("single text arguments")
            << PlistDict{{s("ProgramArguments"), PlistValue(s("/usr/bin/uptime"))}}
            << s("/usr/bin/uptime") << s("/usr/bin/uptime");
        QTest::newRow("program inside a bundle gives the bundle")
            << PlistDict{{s("Program"),
                          PlistValue(s("/Applications/Tool.app/Contents/MacOS/tool"))}}
            << s("/Applications/Tool.app/Contents/MacOS/tool") << s("/Applications/Tool.app");
        QTest::newRow("relative command has no icon")
            << PlistDict{{s("ProgramArguments"), texts({s("tool"), s("-v")})}} << s("tool -v")
            << QString();
        QTest::newRow("empty argument is kept")
            << PlistDict{{s("ProgramArguments"), texts({s("/bin/echo"), QString(), s("x")})}}
            << s("/bin/echo \"\" x") << s("/bin/echo");
        QTest::newRow("nothing to run") << PlistDict() << QString() << QString();
    }

    void runTextComposition() {
        TestRoot root;
        QFETCH(PlistDict, dict);
        QFETCH(QString, run);
        QFETCH(QString, icon);
        const JobPtr job = read(dict);
        QCOMPARE(job->run(), run);
        QCOMPARE(job->runIcon.value_or(QString()), icon);
    }

    void summaries_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<QString>("summary");
        QTest::newRow("program and its name")
            << PlistDict{{s("Program"), PlistValue(s("/usr/bin/tool"))},
                         {s("ProgramArguments"), texts({s("tool"), s("x.txt")})}}
            << s("tool x.txt");
        QTest::newRow("arguments only")
            << PlistDict{{s("ProgramArguments"), texts({s("/usr/bin/tool"), s("x.txt")})}}
            << s("tool x.txt");
        QTest::newRow("full path as first argument stays")
            << PlistDict{{s("Program"), PlistValue(s("/usr/bin/tool"))},
                         {s("ProgramArguments"), texts({s("/usr/bin/tool"), s("x.txt")})}}
            << s("tool /usr/bin/tool x.txt");
    }

    void summaries() {
        TestRoot root;
        QFETCH(PlistDict, dict);
        QFETCH(QString, summary);
        QCOMPARE(JobReader::summaryFromPlist(dict), summary);
    }

    void summaryShortensTheHomeFolder() {
        TestRoot root;
        const PlistDict dict{
            {s("ProgramArguments"), texts({s("/bin/sh"), root.path(s("home/bin/backup.sh"))})}};
        QCOMPARE(JobReader::summaryFromPlist(dict), s("sh ~/bin/backup.sh"));
    }

    void watchPathsTakeTheFirstOfAList() {
        TestRoot root;
        QCOMPARE(read({{s("WatchPaths"), texts({s("/a"), s("/b")})}})->watchPath(), s("/a"));
        QVERIFY(!read({{s("WatchPaths"), PlistValue(s("/a"))}})->watchPath());
        QVERIFY(!read({{s("WatchPaths"), texts({})}})->watchPath());
    }

    void machServicesShowOnePlainName() {
        TestRoot root;
        const JobPtr one =
            read({{s("MachServices"), PlistValue(PlistDict{{s("org.x"), PlistValue(true)}})}});
        QCOMPARE(one->machServicesKey(), s("org.x"));
        QVERIFY(one->isMachServicesEnabled);

        const JobPtr options = read(
            {{s("MachServices"),
              PlistValue(PlistDict{
                  {s("org.x"), PlistValue(PlistDict{{s("ResetAtClose"), PlistValue(true)}})}})}});
        QCOMPARE(options->machServicesKey(), s("org.x"));
        QVERIFY(!options->isMachServicesEnabled);

        const JobPtr two =
            read({{s("MachServices"), PlistValue(PlistDict{{s("org.a"), PlistValue(true)},
                                                           {s("org.b"), PlistValue(true)}})}});
        QCOMPARE(two->machServicesKey(), s("org.a"));
        QVERIFY(!two->isMachServicesEnabled);
    }

    void sessionTypes_data() {
        QTest::addColumn<PlistValue>("value");
        QTest::addColumn<int>("index"); // -1: none
        QTest::newRow("text") << PlistValue(s("LoginWindow")) << 2;
        QTest::newRow("list takes its first") << texts({s("Background"), s("Aqua")}) << 1;
        QTest::newRow("lower case is none") << PlistValue(s("loginwindow")) << -1;
        QTest::newRow("number is none") << PlistValue(2) << -1;
        QTest::newRow("system") << PlistValue(s("System")) << 4;
    }

    void sessionTypes() {
        TestRoot root;
        QFETCH(PlistValue, value);
        QFETCH(int, index);
        const JobPtr job = read({{s("LimitLoadToSessionType"), value}});
        if (index < 0) {
            QVERIFY(!job->limitLoadToSessionTypeIndex());
            QVERIFY(!job->isLimitLoadToSessionTypeEnabled());
        } else {
            QCOMPARE(job->limitLoadToSessionTypeIndex(), index);
            QVERIFY(job->isLimitLoadToSessionTypeEnabled());
        }
    }

    void scheduleSwitchesTheEditorOn() {
        TestRoot root;
        const JobPtr job = read({{s("StartInterval"), PlistValue(7200)}});
        QVERIFY(job->scheduled);
        QCOMPARE(job->scheduled->size(), 1);
        QVERIFY(job->isScheduledEnabled);
        QVERIFY(!read({})->isScheduledEnabled);
    }

    void recordsNeedATextLabel() {
        TestRoot root;
        QVERIFY(!JobReader::jobFromPlist({}, s("/x"), Kind::userAgent));
        QVERIFY(!JobReader::jobFromPlist({{s("Label"), PlistValue(3)}}, s("/x"), Kind::userAgent));
        const JobPtr job =
            JobReader::jobFromPlist({{s("Label"), PlistValue(s("a"))}}, s("/x"), Kind::localAgent);
        QCOMPARE(job->label, s("a"));
        QCOMPARE(job->originalLabel, s("a"));
        QCOMPARE(job->kind, Kind::localAgent);
        QCOMPARE(job->originalKind, Kind::localAgent);
        QCOMPARE(job->url, s("/x"));
        QVERIFY(job->textContent.text() &&
                job->textContent.text()->contains(s("<key>Label</key>")));
    }

    void theFileTextIsMadeOnFirstUseAsItWasRead() {
        const PlistDict dict = {{s("Label"), PlistValue(s("lazy"))},
                                {s("ProgramArguments"), PlistValue(QStringList{s("/bin/echo")})},
                                {s("StartInterval"), PlistValue(qint64(300))}};
        const JobPtr job = JobReader::jobFromPlist(dict, s("/x"), Kind::userAgent);
        // Changing the record's dictionary afterwards leaves the text of the file as read.
        job->plist->insert(s("RunAtLoad"), PlistValue(true));
        QCOMPARE(job->textContent.text(), JobReader::plistText(dict));
        QVERIFY(!job->textContent.text()->contains(s("RunAtLoad")));

        static int folds = 0;
        const auto fold = [](const QString &text) {
            ++folds;
            return text.toUpper();
        };
        QCOMPARE(job->textContent.folded(fold), JobReader::plistText(dict)->toUpper());
        QCOMPARE(job->textContent.folded(fold), JobReader::plistText(dict)->toUpper());
        QCOMPARE(folds, 1);

        job->textContent = s("fixed");
        QCOMPARE(job->textContent.folded(fold), s("FIXED"));
        job->textContent.reset();
        QVERIFY(!job->textContent.hasText());
        QCOMPARE(job->textContent.folded(fold), QString());
    }

    void helperJobsAreHiddenOrLocked() {
        TestRoot root;
        const PlistDict helper{{s("Label"), PlistValue(s("org.vandra.helper"))}};
        QVERIFY(!JobReader::jobFromPlist(helper, s("/x"), Kind::userAgent));
        Defaults::shared().setValue(UserDefaultsKeys::showInternalHelpers, true);
        const JobPtr shown = JobReader::jobFromPlist(helper, s("/x"), Kind::userAgent);
        QVERIFY(shown);
        QVERIFY(shown->isLocked());
    }

    void readingLeavesTheEditorFlagsUntilTheJobIsShown() {
        TestRoot root;
        Bindings &bindings = Bindings::shared();
        bindings.reset();
        const JobPtr job =
            read({{s("StartInterval"), PlistValue(60)},
                  {s("LimitLoadToSessionType"), PlistValue(s("Aqua"))},
                  {s("MachServices"),
                   PlistValue(PlistDict{{s("a"), PlistValue(true)}, {s("b"), PlistValue(true)}})}},
                 Kind::localDaemon);
        QVERIFY(!bindings.isScheduledEnabled());
        QVERIFY(!bindings.isUserNameEnabled());
        QVERIFY(!bindings.isLimitLoadToSessionTypeEnabled());
        bindings.setMachServicesEnabled(true);
        bindings.update(job);
        QVERIFY(bindings.isScheduledEnabled());
        QVERIFY(bindings.isUserNameEnabled());
        QVERIFY(bindings.isLimitLoadToSessionTypeEnabled());
        QVERIFY(!bindings.isMachServicesEnabled());
    }

    void optionsStandInForTheSettings() {
        TestRoot root;
        const PlistDict helper{{s("Label"), PlistValue(s("org.vandra.helper"))},
                               {s("Program"), PlistValue(s("/usr/bin/osascript"))}};
        ReadOptions options;
        QVERIFY(!JobReader::jobFromPlist(helper, s("/x"), Kind::userAgent, options));
        options.showInternalHelpers = true;
        options.scriptEditor = s("/Apps/Script Editor.app");
        const JobPtr shown = JobReader::jobFromPlist(helper, s("/x"), Kind::userAgent, options);
        QVERIFY(shown);
        QCOMPARE(shown->runIcon, s("/Apps/Script Editor.app"));
        // Without editable kinds in the options, every kind reads locked.
        const PlistDict plain{{s("Label"), PlistValue(s("plain"))}};
        QVERIFY(JobReader::jobFromPlist(plain, s("/x"), Kind::userAgent, options)->isLocked());
        options.editableKinds = {Kind::userAgent};
        QVERIFY(!JobReader::jobFromPlist(plain, s("/x"), Kind::userAgent, options)->isLocked());
        QVERIFY(!Defaults::shared().showInternalHelpers());
    }

    void kindDecidesLockAndUserName() {
        TestRoot root;
        const PlistDict dict{{s("Label"), PlistValue(s("a"))}};
        const JobPtr daemon = JobReader::jobFromPlist(dict, s("/x"), Kind::localDaemon);
        QVERIFY(daemon->isUserNameEnabled);
        QVERIFY(!daemon->isLocked());
        QVERIFY(JobReader::jobFromPlist(dict, s("/x"), Kind::systemDaemon)->isLocked());
        QVERIFY(!JobReader::jobFromPlist(dict, s("/x"), Kind::localAgent)->isLocked());
    }

    void filesThatAreNoJobsAreSkipped() {
        TestRoot root;
        QList<JobPtr> list;
        // The log names the path and the reason, and a broken link only when it is one.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(s("garbage.plist does not contain a valid job: "
                                                  "(?!.*symbolic link).*")));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(s("broken.plist does not contain a valid job: "
                                                  ".*symbolic link.*nowhere")));
        const QString list1 = root.write(s("a/list.plist"),
                                         *PlistCodec::toXml(PlistValue(PlistArray{PlistValue(1)})));
        JobReader::readJobFile(Kind::userAgent, list1, list);
        QDir().mkpath(root.path(s("a/folder.plist")));
        JobReader::readJobFile(Kind::userAgent, root.path(s("a/folder.plist")), list);
        const QString garbage = root.write(s("a/garbage.plist"), "not a property list {");
        JobReader::readJobFile(Kind::userAgent, garbage, list);
        QFile::link(root.path(s("a/nowhere")), root.path(s("a/broken.plist")));
        JobReader::readJobFile(Kind::userAgent, root.path(s("a/broken.plist")), list);
        QVERIFY(list.isEmpty());

        const PlistDict job{{s("Label"), PlistValue(s("bin"))},
                            {s("ProgramArguments"), texts({s("/bin/true")})}};
        const QString binary = root.write(s("a/bin.plist"), *PlistCodec::toBinary(PlistValue(job)));
        JobReader::readJobFile(Kind::userAgent, binary, list);
        QFile::link(binary, root.path(s("a/link.plist")));
        JobReader::readJobFile(Kind::userAgent, root.path(s("a/link.plist")), list);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0]->run(), s("/bin/true"));
        QCOMPARE(list[1]->url, root.path(s("a/link.plist")));
    }

    void filesWithAPrologLaunchdAcceptsAreJobs() {
        TestRoot root;
        const QString file = root.write(
            s("a/vendor.plist"),
            "<!-- installed by a vendor -->\n\n<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE plist PUBLIC -//Apple Computer//DTD PLIST 1.0//EN "
            "http://www.apple.com/DTDs/PropertyList-1.0.dtd >\n"
            "<plist version=\"1.0\"><dict><key>Label</key><string>com.vendor.agent</string>"
            "<key>Counter</key><integer>18446744073709551615</integer></dict></plist>\n");
        QList<JobPtr> list;
        JobReader::readJobFile(Kind::userAgent, file, list);
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.first()->label, s("com.vendor.agent"));
        QCOMPARE(list.first()->plist->value(s("Counter")).toUnsigned(),
                 std::numeric_limits<quint64>::max());
    }

    void keepAliveIsDescribedWithItsConditions_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << PlistDict() << s("no");
        QTest::newRow("true") << PlistDict{{s("KeepAlive"), PlistValue(true)}} << s("yes");
        QTest::newRow("on demand false")
            << PlistDict{{s("OnDemand"), PlistValue(false)}} << s("yes");
        QTest::newRow("conditions")
            << PlistDict{{s("KeepAlive"),
                          PlistValue(PlistDict{
                              {s("SuccessfulExit"), PlistValue(false)},
                              {s("PathState"),
                               PlistValue(PlistDict{{s("/tmp/go"), PlistValue(true)}})},
                              {s("OtherJobEnabled"),
                               PlistValue(PlistDict{{s("org.other"), PlistValue(false)}})}})}}
            << s("yes, after a failed exit; while /tmp/go exists; while job org.other is not "
                 "loaded");
        QTest::newRow("unknown condition")
            << PlistDict{{s("KeepAlive"), PlistValue(PlistDict{{s("Future"), PlistValue(3)}})}}
            << s("yes, Future = 3");
    }

    void keepAliveIsDescribedWithItsConditions() {
        QFETCH(PlistDict, dict);
        QFETCH(QString, text);
        QCOMPARE(KeepAliveText::describe(dict), text);
    }

    // The rows cannot show every schedule; the When page warns about these before an edit.
    void schedulesTheRowsCannotShowAreNamed_data() {
        QTest::addColumn<PlistDict>("dict");
        QTest::addColumn<QStringList>("lines");
        const auto calendar = [](std::initializer_list<PlistDict::Entry> entry) {
            return PlistDict{{s("StartCalendarInterval"), PlistValue(PlistDict(entry))}};
        };
        QTest::newRow("exact") << calendar(
                                      {{s("Hour"), PlistValue(3)}, {s("Minute"), PlistValue(15)}})
                               << QStringList();
        QTest::newRow("Sunday as 7 is exact") << calendar({{s("Weekday"), PlistValue(7)},
                                                           {s("Hour"), PlistValue(3)},
                                                           {s("Minute"), PlistValue(0)}})
                                              << QStringList();
        QTest::newRow("noon in January")
            << calendar({{s("Month"), PlistValue(1)},
                         {s("Hour"), PlistValue(12)},
                         {s("Minute"), PlistValue(0)}})
            << QStringList{s("Calendar entry {Month = 1; Hour = 12; Minute = 0} will become "
                             "{Minute = 0; Hour = 12}")};
        QTest::newRow("every minute")
            << calendar({}) << QStringList{s("Calendar entry {} (every minute) will be dropped")};
        QTest::newRow("midnight's hour")
            << calendar({{s("Hour"), PlistValue(0)}})
            << QStringList{s("Calendar entry {Hour = 0} will become {Minute = 0; Hour = 0}")};
        QTest::newRow("short interval")
            << PlistDict{{s("StartInterval"), PlistValue(3)}}
            << QStringList{s("StartInterval 3 seconds will become 10 seconds")};
        QTest::newRow("exact interval")
            << PlistDict{{s("StartInterval"), PlistValue(7200)}} << QStringList();
    }

    void schedulesTheRowsCannotShowAreNamed() {
        QFETCH(PlistDict, dict);
        QFETCH(QStringList, lines);
        QCOMPARE(ScheduleExactness::inexactEntries(dict), lines);
    }

    void startupItems() {
        TestRoot root;
        const PlistDict parameters{{s("Description"), PlistValue(s("Old Service"))},
                                   {s("Provides"), texts({s("OldService"), s("Other")})}};
        root.write(s("items/OldService/StartupParameters.plist"),
                   *PlistCodec::toXml(PlistValue(parameters)));
        const JobPtr job =
            JobReader::readStartupItem(root.path(s("items/OldService")), Kind::localStartupItem);
        QVERIFY(job);
        QCOMPARE(job->label, s("Old Service"));
        QCOMPARE(job->summary, s("OldService"));
        QCOMPARE(job->run(), root.path(s("items/OldService/OldService")));
        QCOMPARE(job->url, root.path(s("items/OldService")));
        QVERIFY(job->isLocked());
        QVERIFY(!job->plist);
        QVERIFY(job->textContent.text()->contains(s("Old Service")));

        root.write(s("items/Nameless/StartupParameters.plist"),
                   *PlistCodec::toXml(PlistValue(PlistDict{{s("Provides"), texts({s("x")})}})));
        QVERIFY(
            !JobReader::readStartupItem(root.path(s("items/Nameless")), Kind::localStartupItem));
        QDir().mkpath(root.path(s("items/Empty")));
        QVERIFY(!JobReader::readStartupItem(root.path(s("items/Empty")), Kind::systemStartupItem));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJobReader)
#include "test_jobreader.moc"

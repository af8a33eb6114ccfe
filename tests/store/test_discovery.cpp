#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/foldermonitors.h"
#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "store/jobfiles.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/singlefoldermonitor.h"
#include "support/userdefaultskeys.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

using namespace Vandra;

namespace {

// "kind:label" for each job, to compare orders at a glance.
QStringList summary(const QList<JobPtr> &jobs) {
    QStringList lines;
    for (const JobPtr &job : jobs)
        lines << (job->kind ? Kinds::name(*job->kind) : s("none")) + u':' + job->label;
    return lines;
}

const QRegularExpression invalidJobMessage(s("does not contain a valid job"));

// Fills the root with count job files of every form: XML and binary, broken ones, labels
// that repeat (whose order only the listing decides), startup items and login items.
void writeMixedRoot(const TestRoot &root, int count) {
    const QList<Kind> kinds = {Kind::userAgent, Kind::localAgent, Kind::localDaemon,
                               Kind::systemAgent, Kind::systemDaemon};
    for (int i = 0; i < count; ++i) {
        const Kind kind = kinds.at(i % kinds.size());
        const QString folder = JobFiles::folderOf(kind);
        const QString name = folder + s("/job%1.plist").arg(i);
        PlistDict dict{{s("Label"), PlistValue(s("org.example.job%1").arg(i % 97))},
                       {s("ProgramArguments"),
                        PlistValue(QStringList{s("/usr/bin/tool%1").arg(i), s("--x")})}};
        if (i % 3 == 0)
            dict.insert(s("StartInterval"), PlistValue(60 + i));
        if (i % 5 == 0)
            dict.insert(s("StartCalendarInterval"),
                        PlistValue(PlistDict{{s("Hour"), PlistValue(i % 24)},
                                             {s("Minute"), PlistValue(i % 60)}}));
        if (i % 7 == 0)
            dict.insert(s("MachServices"), PlistValue(PlistDict{{s("a"), PlistValue(true)},
                                                                {s("b"), PlistValue(true)}}));
        if (i % 11 == 0)
            dict.insert(s("LimitLoadToSessionType"), PlistValue(s("Background")));
        if (i % 4 == 0)
            dict.insert(s("KeepAlive"),
                        PlistValue(PlistDict{{s("SuccessfulExit"), PlistValue(false)}}));
        if (i % 6 == 0)
            dict.insert(s("Disabled"), PlistValue(true));
        if (i % 8 == 0)
            dict.insert(s("WatchPaths"), PlistValue(QStringList{s("/tmp/w%1").arg(i)}));
        switch (i % 13) {
        case 1:
            JobFiles::writeBytes(name, QByteArrayLiteral("\x01 no property list"));
            break;
        case 2:
            JobFiles::writeBytes(name, *PlistCodec::toXml(PlistValue(PlistArray{})));
            break;
        case 3:
            dict.remove(s("Label"));
            JobFiles::writeDict(name, dict);
            break;
        default:
            JobFiles::writeDict(name, dict, i % 2 == 0);
        }
    }
    // Entries that are read through a link, or not read at all, between the others.
    const QString agents = JobFiles::folderOf(Kind::userAgent);
    QFile::link(s("job0.plist"), agents + s("/relative.plist"));
    QFile::link(agents + s("/job5.plist"), agents + s("/absolute.plist"));
    QFile::link(s("gone.plist"), agents + s("/dangling.plist"));
    ::mkfifo(QFile::encodeName(agents + s("/pipe.plist")).constData(), 0644);
    JobFiles::writeStartupItem(Kind::localStartupItem, s("Legacy"), s("Legacy service"));
    JobFiles::writeStartupItem(Kind::systemStartupItem, s("Old"), s("Old service"));
    JobFiles::writeBytes(Locations::shared().userAutostart() + s("/alpha.desktop"),
                         "[Desktop Entry]\nName=Alpha\nExec=/usr/bin/alpha\n");
    QDir().mkpath(Locations::shared().applications() +
                  s("/Mail.app/Contents/Library/LoginItems/Helper.app"));
    Q_UNUSED(root);
}

// Every field a record carries, compared one by one; without the dictionary and its text
// when other was read without them.
void compareRecords(const QList<JobPtr> &one, const QList<JobPtr> &other,
                    bool withDictionaries = true) {
    QCOMPARE(other.size(), one.size());
    for (qsizetype i = 0; i < one.size(); ++i) {
        Job &a = *one.at(i);
        Job &b = *other.at(i);
        QCOMPARE(b.url, a.url);
        QCOMPARE(b.kind, a.kind);
        QCOMPARE(b.originalKind, a.originalKind);
        QCOMPARE(b.label, a.label);
        QCOMPARE(b.originalLabel, a.originalLabel);
        QCOMPARE(b.summary, a.summary);
        QCOMPARE(b.run(), a.run());
        QCOMPARE(b.runIcon, a.runIcon);
        if (withDictionaries) {
            QCOMPARE(b.plist, a.plist);
            QCOMPARE(b.textContent.text(), a.textContent.text());
        } else if (a.kind == Kind::loginItemSystemPreferences ||
                   a.kind == Kind::loginItemApplication) {
            // Their texts are fixed, not made from a file.
            QCOMPARE(b.textContent.text(), a.textContent.text());
        } else {
            QVERIFY(!b.plist);
            QVERIFY(!b.textContent.hasText());
        }
        QCOMPARE(b.enabledState(), a.enabledState());
        QCOMPARE(b.keepAlive(), a.keepAlive());
        QCOMPARE(b.isKeepAliveSuccessfulExitSet(), a.isKeepAliveSuccessfulExitSet());
        QCOMPARE(b.watchPath(), a.watchPath());
        QVERIFY(b.scheduled == a.scheduled);
        QCOMPARE(b.isScheduledEnabled, a.isScheduledEnabled);
        QCOMPARE(b.machServicesKey(), a.machServicesKey());
        QCOMPARE(b.isMachServicesEnabled, a.isMachServicesEnabled);
        QCOMPARE(b.limitLoadToSessionTypeIndex(), a.limitLoadToSessionTypeIndex());
        QCOMPARE(b.isLimitLoadToSessionTypeEnabled(), a.isLimitLoadToSessionTypeEnabled());
        QCOMPARE(b.isUserNameEnabled, a.isUserNameEnabled);
        QCOMPARE(b.isLocked(), a.isLocked());
        QCOMPARE(b.loginItemKind(), a.loginItemKind());
    }
}

} // namespace

class TestDiscovery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A pass still running would read the folders of the next test's root.
    void cleanup() { QTRY_VERIFY(!JobDiscovery::isReloading()); }

    void groupsByKindInOrderAndSortsLabelsNumerically() {
        TestRoot root;
        JobFiles::writeJob(Kind::userAgent, s("job10"));
        JobFiles::writeJob(Kind::userAgent, s("job2"));
        JobFiles::writeJob(Kind::userAgent, s("Job1"), {}, true);
        JobFiles::writeJob(Kind::localDaemon, s("daemon"));
        JobFiles::writeJob(Kind::localAgent, s("everyone"));
        JobFiles::writeStartupItem(Kind::localStartupItem, s("Legacy"), s("Legacy service"));
        JobFiles::writeJob(Kind::systemAgent, s("system.agent"));
        JobFiles::writeJob(Kind::systemDaemon, s("system.daemon"));
        JobFiles::writeStartupItem(Kind::systemStartupItem, s("Old"), s("Old service"));

        const QStringList nonSystem = {
            s("userAgent:Job1"),     s("userAgent:job2"),
            s("userAgent:job10"),    s("localAgent:everyone"),
            s("localDaemon:daemon"), s("localStartupItem:Legacy service")};
        QCOMPARE(summary(JobDiscovery::discoverJobs()), nonSystem);
        QCOMPARE(summary(JobDiscovery::discoverJobs(false)), nonSystem);

        Defaults::shared().setValue(UserDefaultsKeys::showSystemJobs, true);
        QCOMPARE(
            summary(JobDiscovery::discoverJobs()),
            (nonSystem + QStringList{s("systemAgent:system.agent"), s("systemDaemon:system.daemon"),
                                     s("systemStartupItem:Old service")}));
    }

    void oneAndSeveralThreadsGiveTheSameListInTheSameOrder() {
        TestRoot root;
        writeMixedRoot(root, 600);
        // The broken files are expected; their lines would only bury a failure.
        QLoggingCategory::setFilterRules(s("vandra.jobreader.warning=false"));
        const auto restore = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        const DiscoveryOptions options = DiscoveryOptions::fromSettings(true);
        const QList<JobPtr> one = JobDiscovery::discoverJobs(options, 1);
        QVERIFY(one.size() > 400);
        QCOMPARE(one.first()->kind, Kind::userAgent);
        QCOMPARE(one.last()->kind, Kind::systemStartupItem);
        compareRecords(one, JobDiscovery::discoverJobs(options, 2));
        compareRecords(one, JobDiscovery::discoverJobs(options, 3));
        compareRecords(one, JobDiscovery::discoverJobs(true));
    }

    void recordsReadWithoutTheirDictionariesKeepEveryOtherField() {
        TestRoot root;
        writeMixedRoot(root, 120);
        QLoggingCategory::setFilterRules(s("vandra.jobreader.warning=false"));
        const auto restore = qScopeGuard([] { QLoggingCategory::setFilterRules(QString()); });
        DiscoveryOptions options = DiscoveryOptions::fromSettings(true);
        const QList<JobPtr> full = JobDiscovery::discoverJobs(options, 2);
        options.keepsDictionaries = false;
        compareRecords(full, JobDiscovery::discoverJobs(options, 2), false);
    }

    void aReloadInTheBackgroundSwapsTheListInWhenDone() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("kept"));
        JobDiscovery::reloadJobs();
        JobList &list = JobList::shared();
        list.setCurrentJob(list.jobWithUrl(file));
        JobFiles::writeJob(Kind::userAgent, s("added"));

        QSignalSpy updated(&list, &JobList::jobsUpdated);
        JobDiscovery::reloadJobsLater();
        // Requests that come while a pass runs are served by one more pass after it.
        JobDiscovery::reloadJobsLater();
        JobDiscovery::reloadJobsLater();
        QVERIFY(JobDiscovery::isReloading());
        QCOMPARE(list.jobs().size(), 1);
        QTRY_VERIFY(!JobDiscovery::isReloading());
        QCOMPARE(updated.count(), 1);
        QCOMPARE(summary(list.jobs()), (QStringList{s("userAgent:added"), s("userAgent:kept")}));
        QCOMPARE(list.currentJob()->url, file);
        QVERIFY(list.currentJob()->isCurrent());

        // A list shown meanwhile is newer than the one of the pass: the pass is dropped.
        JobDiscovery::reloadJobsLater();
        JobFiles::writeJob(Kind::userAgent, s("third"));
        JobDiscovery::reloadJobs();
        QCOMPARE(list.jobs().size(), 3);
        QTRY_VERIFY(!JobDiscovery::isReloading());
        QCOMPARE(updated.count(), 2);

        // Nor does a pass replace the list of a job with unsaved edits.
        JobDiscovery::reloadJobsLater();
        Bindings::shared().setEdited(true);
        JobFiles::writeJob(Kind::userAgent, s("fourth"));
        QTRY_VERIFY(!JobDiscovery::isReloading());
        QCOMPARE(list.jobs().size(), 3);
        JobDiscovery::reloadJobsLater();
        QVERIFY(!JobDiscovery::isReloading());
    }

    void reloadingLeavesTheEditorUnscheduledWithoutACurrentJob() {
        TestRoot root;
        JobFiles::writeJob(Kind::userAgent, s("scheduled"),
                           {{s("StartInterval"), PlistValue(600)}});
        JobFiles::writeJob(Kind::localDaemon, s("daemon"));
        Bindings::shared().setScheduledEnabled(true);
        const QList<JobPtr> jobs = JobDiscovery::discoverJobs();
        QCOMPARE(jobs.size(), 2);
        QVERIFY(jobs.first()->isScheduledEnabled);
        // Discovery itself leaves the editor's flags alone: it may run on any thread.
        QVERIFY(Bindings::shared().isScheduledEnabled());
        QVERIFY(!Bindings::shared().isUserNameEnabled());
        JobDiscovery::reloadJobs();
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(!Bindings::shared().isScheduledEnabled());
    }

    void skipsEntriesThatHoldNoJob() {
        TestRoot root;
        const QString folder = JobFiles::folderOf(Kind::userAgent);
        JobFiles::writeJob(Kind::userAgent, s("good"));
        // A hidden file is an entry like any other.
        JobFiles::writeDict(
            folder + s("/.hidden.plist"),
            {{s("Label"), PlistValue(s("hidden"))}, {s("Program"), PlistValue(s("/bin/true"))}});
        JobFiles::writeDict(folder + u'/' + Const::FileName::dsStore,
                            {{s("Label"), PlistValue(s("finder"))}});
        JobFiles::writeDict(folder + s("/nolabel.plist"), {{s("Program"), PlistValue(s("/x"))}});
        JobFiles::writeBytes(folder + s("/garbage.plist"),
                             QByteArrayLiteral("\x01\x02 not a plist"));
        const std::optional<QByteArray> array =
            PlistCodec::toXml(PlistValue(PlistArray{PlistValue(s("Label"))}));
        JobFiles::writeBytes(folder + s("/array.plist"), *array);
        QDir().mkpath(folder + s("/subfolder.plist"));
        QFile::link(folder + s("/gone.plist"), folder + s("/dangling.plist"));

        // One line for each entry that is no readable dictionary, none for the others.
        QTest::failOnWarning(QRegularExpression(s("DS_Store|nolabel|hidden|good")));
        for (int i = 0; i < 4; ++i)
            QTest::ignoreMessage(QtWarningMsg, invalidJobMessage);
        QCOMPARE(summary(JobDiscovery::discoverJobs()),
                 (QStringList{s("userAgent:good"), s("userAgent:hidden")}));
    }

    void entriesAreReadThroughLinksAndOddOnesAreSkipped() {
        TestRoot root;
        const QString folder = JobFiles::folderOf(Kind::userAgent);
        const QString real = JobFiles::writeJob(Kind::userAgent, s("real"));
        const QString outside = JobFiles::writeDict(
            root.path(s("elsewhere/outside.plist")),
            {{s("Label"), PlistValue(s("outside"))}, {s("Program"), PlistValue(s("/bin/true"))}});
        QVERIFY(QFile::link(s("real.plist"), folder + s("/relative.plist")));
        QVERIFY(QFile::link(outside, folder + s("/outside.plist")));
        QVERIFY(QFile::link(root.path(s("elsewhere")), folder + s("/folder.plist")));
        QCOMPARE(::mkfifo(QFile::encodeName(folder + s("/pipe.plist")).constData(), 0644), 0);
        // A name that is no text in the file names' encoding: its path could not name it.
        const QByteArray badName = QFile::encodeName(folder) + "/bad\xff.plist";
        const QByteArray badJob =
            *PlistCodec::toXml(PlistValue(PlistDict{{s("Label"), PlistValue(s("bad"))}}));
        const int badFile = ::open(badName.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(badFile >= 0);
        QCOMPARE(::write(badFile, badJob.constData(), size_t(badJob.size())),
                 ssize_t(badJob.size()));
        ::close(badFile);
        const QString locked = JobFiles::writeJob(Kind::userAgent, s("locked"));
        QVERIFY(QFile::setPermissions(locked, {}));
        const auto unlock = qScopeGuard(
            [&locked] { QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner); });
        // The administrator reads a file of mode 000 all the same.
        const bool readsLocked = ::access(QFile::encodeName(locked).constData(), R_OK) == 0;
        // A kind's folder that is a file lists nothing, and quietly.
        QVERIFY(JobFiles::writeBytes(JobFiles::folderOf(Kind::localAgent), "not a folder"));

        QTest::failOnWarning(QRegularExpression(s("real|outside|relative")));
        for (int i = 0; i < (readsLocked ? 3 : 4); ++i)
            QTest::ignoreMessage(QtWarningMsg, invalidJobMessage);
        for (const int threads : {1, 2}) {
            const QList<JobPtr> jobs =
                JobDiscovery::discoverJobs(DiscoveryOptions::fromSettings(), threads);
            QStringList expected = {s("userAgent:outside"), s("userAgent:real"),
                                    s("userAgent:real")};
            if (readsLocked)
                expected.prepend(s("userAgent:locked"));
            QCOMPARE(summary(jobs), expected);
            QCOMPARE(jobs.at(readsLocked ? 1 : 0)->url, folder + s("/outside.plist"));
            QStringList reals;
            for (const JobPtr &job : jobs) {
                if (job->label == u"real")
                    reals << job->url.value_or(QString());
            }
            reals.sort();
            QCOMPARE(reals, (QStringList{real, folder + s("/relative.plist")}));
            if (threads == 1) {
                for (int i = 0; i < (readsLocked ? 3 : 4); ++i)
                    QTest::ignoreMessage(QtWarningMsg, invalidJobMessage);
            }
        }
    }

    void missingFoldersGiveEmptyGroupsQuietly() {
        TestRoot root;
        QTest::failOnWarning(QRegularExpression(s(".")));
        Defaults::shared().setValue(UserDefaultsKeys::showSystemJobs, true);
        QVERIFY(JobDiscovery::discoverJobs().isEmpty());
        JobFiles::writeJob(Kind::localDaemon, s("only"));
        QCOMPARE(summary(JobDiscovery::discoverJobs()), QStringList{s("localDaemon:only")});
    }

    void loginItemsComeFromAutostartEntries() {
        TestRoot root;
        const QString user = Locations::shared().userAutostart();
        const QString system = Locations::shared().systemAutostart();
        JobFiles::writeBytes(system + s("/alpha.desktop"),
                             "[Desktop Entry]\nType=Application\nName=Alpha\n"
                             "Exec=/usr/bin/alpha --tray %U\n");
        JobFiles::writeBytes(system + s("/beta.desktop"),
                             "[Desktop Entry]\nName=Beta\nExec=/usr/bin/beta\n");
        JobFiles::writeBytes(user + s("/beta.desktop"),
                             "[Desktop Entry]\nName=Beta Mine\nExec=\"/opt/my beta/beta\" -x\n");
        JobFiles::writeBytes(system + s("/gamma.desktop"),
                             "[Desktop Entry]\nName=Gamma\nExec=/usr/bin/gamma\n");
        JobFiles::writeBytes(user + s("/gamma.desktop"),
                             "[Desktop Entry]\nName=Gamma\nHidden=true\n");
        JobFiles::writeBytes(user + s("/delta.desktop"),
                             "[Desktop Entry]\nName=Delta\nTryExec=/usr/bin/delta\n");
        JobFiles::writeBytes(user + s("/nopath.desktop"), "[Desktop Entry]\nName=No Path\n");
        JobFiles::writeBytes(user + s("/agent.desktop"),
                             "[Desktop Entry]\nName=Vandra Agent\nExec=/usr/bin/vandra-agent\n");
        JobFiles::writeBytes(user + s("/other.desktop"),
                             "[Other Group]\nName=Other\nExec=/usr/bin/other\n");

        const QList<JobPtr> jobs = JobDiscovery::discoverJobs();
        QCOMPARE(summary(jobs), (QStringList{s("loginItemSystemPreferences:Alpha"),
                                             s("loginItemSystemPreferences:Beta Mine"),
                                             s("loginItemSystemPreferences:Delta")}));
        Job &alpha = *jobs.at(0);
        QCOMPARE(alpha.run(), s("/usr/bin/alpha"));
        QCOMPARE(alpha.summary, s("alpha"));
        QCOMPARE(alpha.originalLabel, s("Alpha"));
        QCOMPARE(alpha.loginItemKind(), s("Application"));
        QCOMPARE(alpha.textContent.text(), s("Alpha/usr/bin/alpha"));
        QCOMPARE(alpha.url, s("LoginItem.SystemPreferences.Alpha"));
        QCOMPARE(alpha.originalKind, Kind::loginItemSystemPreferences);
        QVERIFY(alpha.isLocked());
        QVERIFY(!alpha.plist);
        QCOMPARE(jobs.at(1)->run(), s("/opt/my beta/beta"));
        QCOMPARE(jobs.at(1)->url, s("LoginItem.SystemPreferences.Beta%20Mine"));
        QCOMPARE(jobs.at(2)->run(), s("/usr/bin/delta"));

        Defaults::shared().setValue(UserDefaultsKeys::showInternalHelpers, true);
        QVERIFY(summary(JobDiscovery::discoverJobs())
                    .contains(s("loginItemSystemPreferences:Vandra Agent")));
    }

    void applicationsGiveTheirFirstLoginItem() {
        TestRoot root;
        const QString apps = Locations::shared().applications();
        const auto helper = [&](const QString &app, const QString &name) {
            QDir().mkpath(apps + u'/' + app + s("/Contents/Library/LoginItems/") + name);
        };
        helper(s("Mail.app"), s("B Helper.app"));
        helper(s("Mail.app"), s("A Helper.app"));
        helper(s("Utilities/Backup.app"), s("Backup Helper.app"));
        helper(s("Utilities/Deeper/Hidden Away.app"), s("Helper.app"));
        helper(s(".Secret.app"), s("Helper.app"));
        helper(s("Vandra.app"), s("Vandra Helper.app"));
        helper(s("Notes.application"), s("Helper.app"));
        QDir().mkpath(apps + s("/Empty.app/Contents/Library/LoginItems"));
        QDir().mkpath(apps + s("/Plain.app/Contents/MacOS"));

        const QList<JobPtr> jobs = JobDiscovery::discoverJobs();
        QCOMPARE(summary(jobs),
                 (QStringList{s("loginItemApplication:Backup"), s("loginItemApplication:Mail")}));
        Job &mail = *jobs.at(1);
        QCOMPARE(mail.summary, s("A Helper.app"));
        QCOMPARE(mail.run(), apps + s("/Mail.app/Contents/Library/LoginItems/A Helper.app"));
        QCOMPARE(mail.url, apps + s("/Mail.app"));
        QCOMPARE(mail.textContent.text(), apps + s("/Mail.app"));
        QCOMPARE(mail.runIcon, apps + s("/Mail.app"));
        QVERIFY(mail.isLocked());
    }

    void reloadKeepsTheSameFileSelected() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("kept"));
        JobFiles::writeJob(Kind::userAgent, s("other"));
        JobDiscovery::reloadJobs();
        JobList &list = JobList::shared();
        const JobPtr before = list.jobWithUrl(file);
        QVERIFY(before);
        list.setCurrentJob(before);

        QSignalSpy updated(&list, &JobList::jobsUpdated);
        QSignalSpy current(&list, &JobList::currentJobChanged);
        JobFiles::writeJob(Kind::userAgent, s("added"));
        JobDiscovery::reloadJobs();
        QCOMPARE(updated.count(), 1);
        QCOMPARE(list.jobs().size(), 3);
        QVERIFY(list.currentJob());
        QVERIFY(list.currentJob() != before);
        QCOMPARE(list.currentJob()->url, file);
        QVERIFY(list.jobs().contains(list.currentJob()));
        QCOMPARE(current.count(), 1);

        QVERIFY(QFile::remove(file));
        JobDiscovery::reloadJobs();
        QCOMPARE(updated.count(), 2);
        QVERIFY(!list.currentJob());
        QVERIFY(Bindings::shared().isLocked());
    }

    void reloadLeavesASelectionWithoutFileAlone() {
        TestRoot root;
        JobFiles::writeJob(Kind::userAgent, s("one"));
        auto fresh = std::make_shared<Job>();
        fresh->label = s("new job");
        JobList::shared().setCurrentJob(fresh);
        JobDiscovery::reloadJobs();
        QCOMPARE(JobList::shared().jobs().size(), 1);
        QCOMPARE(JobList::shared().currentJob(), fresh);
    }

    void noRebuildWhileTheCurrentJobIsEdited() {
        TestRoot root;
        JobFiles::writeJob(Kind::userAgent, s("one"));
        JobDiscovery::reloadJobs();
        QSignalSpy updated(&JobList::shared(), &JobList::jobsUpdated);
        Bindings::shared().setEdited(true);
        JobFiles::writeJob(Kind::userAgent, s("two"));
        JobDiscovery::reloadJobs();
        QCOMPARE(updated.count(), 0);
        QCOMPARE(summary(JobList::shared().jobs()), QStringList{s("userAgent:one")});

        Bindings::shared().setEdited(false);
        JobDiscovery::reloadJobs();
        QCOMPARE(summary(JobList::shared().jobs()),
                 (QStringList{s("userAgent:one"), s("userAgent:two")}));
    }

    void monitorsRebuildAfterAFileAppears() {
        TestRoot root;
        QDir().mkpath(JobFiles::folderOf(Kind::userAgent));
        const FoldersController folders;
        FolderMonitors monitors(folders);
        monitors.start();
        QCOMPARE(monitors.monitors().size(), Kinds::folderKinds().size());
        monitors.start();
        QCOMPARE(monitors.monitors().size(), Kinds::folderKinds().size());

        QSignalSpy reloading(&monitors, &FolderMonitors::reloading);
        // A burst of changes leads to few rebuilds, the last of them after the burst.
        for (int i = 0; i < 5; ++i)
            JobFiles::writeJob(Kind::userAgent, s("burst%1").arg(i));
        QTRY_COMPARE_WITH_TIMEOUT(JobList::shared().jobs().size(), 5, 10000);
        QVERIFY(reloading.count() >= 1);
        QVERIFY(reloading.count() <= 3);

        // A folder that appears after the monitors started is watched too.
        JobFiles::writeJob(Kind::localDaemon, s("late"));
        QTRY_VERIFY_WITH_TIMEOUT(summary(JobList::shared().jobs()).contains(s("localDaemon:late")),
                                 10000);
    }

    void monitorsFollowTheExtraFoldersAndTheJobsLinkedFromThem() {
        TestRoot root;
        FoldersController folders;
        const QString scripts = root.path(s("home/scripts"));
        const QString more = root.path(s("home/more"));
        QDir().mkpath(scripts);
        QDir().mkpath(more);
        folders.add(scripts);
        FolderMonitors monitors(folders);
        monitors.start();
        QCOMPARE(monitors.extraMonitors().size(), 1);
        QCOMPARE(monitors.extraMonitors().first()->path(), scripts);

        folders.add(more);
        QCOMPARE(monitors.extraMonitors().size(), 2);
        folders.removeAt(0);
        QCOMPARE(monitors.extraMonitors().size(), 1);
        QCOMPARE(monitors.extraMonitors().first()->path(), more);

        // A change in an extra folder rebuilds the list, though no launchd folder changed.
        QSignalSpy reloading(&monitors, &FolderMonitors::reloading);
        QFile file(more + s("/linked.plist"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(reloading.wait(10000));
        folders.reset();
    }

    void monitorsChangeNothingWhileEdited() {
        TestRoot root;
        QDir().mkpath(JobFiles::folderOf(Kind::userAgent));
        const FoldersController folders;
        FolderMonitors monitors(folders);
        monitors.start();
        QSignalSpy reloading(&monitors, &FolderMonitors::reloading);
        Bindings::shared().setEdited(true);
        JobFiles::writeJob(Kind::userAgent, s("unseen"));
        QVERIFY(reloading.wait(10000));
        QVERIFY(JobList::shared().jobs().isEmpty());

        monitors.setTerminating(true);
        reloading.clear();
        Bindings::shared().setEdited(false);
        JobFiles::writeJob(Kind::userAgent, s("ignored"));
        QVERIFY(!reloading.wait(1500));
    }

    void extraFoldersAreKeptAsBookmarks() {
        TestRoot root;
        FoldersController folders;
        const QString first = root.path(s("home/scripts"));
        const QString second = root.path(s("home/more"));
        QDir().mkpath(first);
        QDir().mkpath(second);

        folders.add(first);
        folders.add(second);
        folders.add(first + u'/');
        folders.add(root.path(s("home/missing")));
        QCOMPARE(folders.folders().size(), 2);
        QCOMPARE(folders.folders().at(0).secureURL.path(), first);
        QCOMPARE(folders.folders().at(0).icon, s("folder"));
        const QVariantList stored = Defaults::shared().value(UserDefaultsKeys::folders).toList();
        QCOMPARE(stored, (QVariantList{first.toUtf8(), second.toUtf8()}));

        // A folder that is gone stays listed and stored, shown as missing; data that names no
        // folder at all is dropped.
        QVERIFY(QDir(first).removeRecursively());
        QVERIFY(FoldersController::isMissing(folders.folders().at(0)));
        QVariantList withJunk = stored;
        withJunk.append(QByteArray("relative/path"));
        Defaults::shared().setValue(UserDefaultsKeys::folders, withJunk);
        folders.reset();
        Defaults::shared().reload();
        folders.load();
        QCOMPARE(folders.folders().size(), 2);
        QCOMPARE(folders.folders().at(0).secureURL.path(), first);
        QCOMPARE(folders.folders().at(0).icon, FoldersController::missingIcon);
        QVERIFY(FoldersController::isMissing(folders.folders().at(0)));
        QCOMPARE(folders.folders().at(1).secureURL.path(), second);
        QVERIFY(!FoldersController::isMissing(folders.folders().at(1)));
        QCOMPARE(Defaults::shared().value(UserDefaultsKeys::folders).toList(), stored);

        folders.removeAt(5);
        folders.removeAt(0);
        folders.removeAt(0);
        QVERIFY(folders.folders().isEmpty());
        QVERIFY(Defaults::shared().value(UserDefaultsKeys::folders).toList().isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestDiscovery)
#include "test_discovery.moc"

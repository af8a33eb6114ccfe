#include "common/testmain.h"
#include "common/testroot.h"
#include "model/bindings.h"
#include "model/job.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "model/section.h"
#include "model/sessiontype.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/notifications.h"
#include "support/userdefaultskeys.h"

#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

class TestJob : public QObject {
    Q_OBJECT

private:
    static JobPtr jobOf(Kind kind, const QString &label) {
        auto job = std::make_shared<Job>();
        job->kind = kind;
        job->label = label;
        return job;
    }

private Q_SLOTS:
    void kindRawValuesFollowTheSectionOrder() {
        TestRoot root;
        QCOMPARE(Kinds::allCases().size(), 9);
        for (int raw = 0; raw < 9; ++raw)
            QCOMPARE(Kinds::rawValue(*Kinds::fromRaw(raw)), raw);
        QVERIFY(!Kinds::fromRaw(9));
        QVERIFY(!Kinds::fromRaw(-1));
        QCOMPARE(Kinds::fromName(QStringLiteral("localDaemon")), Kind::localDaemon);
        QVERIFY(!Kinds::fromName(QStringLiteral("LocalDaemon")));
    }

    void kindFoldersLieUnderTheRoot() {
        TestRoot root;
        QCOMPARE(*Kinds::url(Kind::userAgent),
                 root.path(QStringLiteral("home/.config/vandra/LaunchAgents")));
        QCOMPARE(*Kinds::url(Kind::localDaemon),
                 root.path(QStringLiteral("etc/vandra/LaunchDaemons")));
        QCOMPARE(*Kinds::url(Kind::systemStartupItem),
                 root.path(QStringLiteral("usr/lib/vandra/StartupItems")));
        QVERIFY(!Kinds::url(Kind::loginItemApplication));
        QVERIFY(!Kinds::url(Kind::loginItemSystemPreferences));
    }

    void systemKindsAreLockedUnlessEditingSystemJobsAtFirstUse() {
        TestRoot root;
        QVERIFY(!Kinds::isEditable(Kind::systemDaemon));
        QVERIFY(!Kinds::isDeletable(Kind::systemAgent));
        QVERIFY(Kinds::isLocked(Kind::systemAgent));
        // A later change of the setting waits for the next start.
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, true);
        QVERIFY(!Kinds::isEditable(Kind::systemDaemon));

        Kinds::resetForTesting();
        QVERIFY(Kinds::isEditable(Kind::systemDaemon));
        QVERIFY(Kinds::isEditable(Kind::systemAgent));
        QVERIFY(Kinds::isDeletable(Kind::systemStartupItem));
        QVERIFY(!Kinds::isLocked(Kind::systemDaemon));
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, false);
        QVERIFY(Kinds::isEditable(Kind::systemDaemon));
    }

    void applicationLoginItemsAndMissingKinds() {
        TestRoot root;
        QVERIFY(!Kinds::isDeletable(Kind::loginItemApplication));
        QVERIFY(Kinds::isDeletable(std::nullopt));
        QVERIFY(Kinds::isNonPlist(Kind::localStartupItem));
        QVERIFY(!Kinds::isNonPlist(std::nullopt));
        QCOMPARE(Kinds::folderKinds().first(), Kind::userAgent);
        QCOMPARE(Kinds::folderKinds().size(), 7);
    }

    void titlesJoinTheirPieces() {
        TestRoot root;
        QCOMPARE(Kinds::title(Kind::localDaemon), QStringLiteral("root daemon"));
        QVERIFY(Kinds::title(Kind::systemAgent).startsWith(QStringLiteral("Agents")));
        QVERIFY(Kinds::title(Kind::systemDaemon).startsWith(QStringLiteral("Daemons")));
        QVERIFY(Kinds::title(Kind::loginItemApplication).contains(Const::separator));
    }

    void settersRecordChangesOnlyOnTheCurrentJob() {
        TestRoot root;
        auto other = jobOf(Kind::userAgent, QStringLiteral("other"));
        other->setRun(QStringLiteral("/bin/true"));
        other->setWatchPath(QStringLiteral("/tmp"));
        other->setKeepAlive(true);
        QVERIFY(!other->isChangesSet());
        QVERIFY(!Bindings::shared().isEdited());

        auto current = jobOf(Kind::userAgent, QStringLiteral("current"));
        JobList::shared().setCurrentJob(current);
        QSignalSpy edited(&Bindings::shared(), &Bindings::isEditedChanged);
        current->setRun(QStringLiteral("/bin/true"));
        current->setMachServicesKey(QStringLiteral("org.example.service"));
        current->setKeepAliveSuccessfulExitSet(false);
        current->setLimitLoadToSessionTypeIndex(2);
        QCOMPARE(current->changes(), (Changes{Change::run, Change::machServices, Change::keepAlive,
                                              Change::limitLoadToSessionType}));
        QVERIFY(Bindings::shared().isEdited());
        QCOMPARE(edited.size(), 1);
    }

    void aJobIsCurrentInTheListThatMadeItSoAndChangesGoThere() {
        Bindings bindingsOfList;
        Bindings::shared().reset();
        JobList list(bindingsOfList, Notifications::shared());
        auto first = jobOf(Kind::userAgent, QStringLiteral("first"));
        auto second = jobOf(Kind::userAgent, QStringLiteral("second"));
        list.setCurrentJob(first);
        QVERIFY(first->isCurrent());
        first->setRun(QStringLiteral("/bin/true"));
        QCOMPARE(first->changes(), Changes{Change::run});
        QVERIFY(bindingsOfList.isEdited());
        QVERIFY(!Bindings::shared().isEdited());

        // A copy is current nowhere; taking another job's value keeps the job current.
        Job copy = *first;
        QVERIFY(!copy.isCurrent());
        *first = *second;
        QVERIFY(first->isCurrent());

        list.setCurrentJob(second);
        QVERIFY(!first->isCurrent());
        QVERIFY(second->isCurrent());
        list.reset();
        QVERIFY(!second->isCurrent());
        second->setRun(QStringLiteral("/bin/false"));
        QVERIFY(!second->isChangesSet());
        {
            JobList shortLived(bindingsOfList, Notifications::shared());
            shortLived.setCurrentJob(second);
        }
        QVERIFY(!second->isCurrent());
    }

    void plistBackedKeysChangeOnlyTheCurrentJob() {
        TestRoot root;
        auto job = jobOf(Kind::userAgent, QStringLiteral("job"));
        job->plist = PlistDict{{QStringLiteral("UserName"), PlistValue(QStringLiteral("root"))}};
        job->setPlistText(QStringLiteral("UserName"), QString());
        QVERIFY(job->plist->contains(QStringLiteral("UserName")));

        JobList::shared().setCurrentJob(job);
        job->setPlistText(QStringLiteral("UserName"), QString());
        job->setPlistBool(QStringLiteral("LowPriorityIO"), false);
        job->setPlistText(QStringLiteral("WorkingDirectory"), QStringLiteral("/srv"));
        QVERIFY(!job->plist->contains(QStringLiteral("UserName")));
        QCOMPARE(job->plist->value(QStringLiteral("LowPriorityIO")), PlistValue(false));
        QCOMPARE(job->plist->value(QStringLiteral("WorkingDirectory")),
                 PlistValue(QStringLiteral("/srv")));
        QCOMPARE(job->changes(), Changes{Change::selfUpdating});
        QVERIFY(Bindings::shared().isEdited());
    }

    void turningTheSessionRestrictionOnSelectsAqua() {
        TestRoot root;
        auto job = jobOf(Kind::userAgent, QStringLiteral("job"));
        job->setLimitLoadToSessionTypeEnabled(true);
        QCOMPARE(job->limitLoadToSessionTypeIndex(), 0);
        QCOMPARE(SessionTypes::fromIndex(0), SessionType::aqua);

        job->setLimitLoadToSessionTypeIndex(3);
        job->setLimitLoadToSessionTypeEnabled(false);
        QCOMPARE(job->limitLoadToSessionTypeIndex(), 3);
    }

    void sessionTypesCompareExactly() {
        QCOMPARE(SessionTypes::fromRaw(QStringLiteral("LoginWindow")), SessionType::loginWindow);
        QVERIFY(!SessionTypes::fromRaw(QStringLiteral("loginwindow")));
        QCOMPARE(SessionTypes::fromRaw(QStringLiteral("System")), SessionType::system);
        QVERIFY(!SessionTypes::fromIndex(5));
    }

    void lazyFieldsTakeTheirDefaultsWhenRead() {
        auto job = std::make_shared<Job>();
        QVERIFY(!job->enabledState());
        QVERIFY(job->isEnabled());
        QCOMPARE(job->enabledState(), true);
        QVERIFY(!job->isLocked());
        QVERIFY(!job->isNewFile());
        QVERIFY(!job->isChangesSet());
        QVERIFY(job->changes().isEmpty());
        QVERIFY(job->isChangesSet());
        QVERIFY(job->isMachServicesEnabled);
    }

    void sectionsFollowTheKindOrderAndSkipEmptyKinds() {
        TestRoot root;
        const QList<JobPtr> jobs = {jobOf(Kind::localDaemon, QStringLiteral("d1")),
                                    jobOf(Kind::userAgent, QStringLiteral("a1")),
                                    jobOf(Kind::localDaemon, QStringLiteral("d2")),
                                    std::make_shared<Job>(),
                                    jobOf(Kind::systemAgent, QStringLiteral("s1"))};
        const QList<SectionPtr> sections = buildSections(jobs, false);
        QCOMPARE(sections.size(), 2);
        QCOMPARE(sections[0]->kind, Kind::userAgent);
        QCOMPARE(sections[1]->kind, Kind::localDaemon);
        QCOMPARE(sections[1]->count(), 2);
        QCOMPARE(sections[1]->jobs[0]->label, QStringLiteral("d1"));
        QCOMPARE(sections[1]->jobs[1]->label, QStringLiteral("d2"));

        const QList<SectionPtr> withSystem = buildSections(jobs, true);
        QCOMPARE(withSystem.size(), 3);
        QCOMPARE(withSystem.last()->kind, Kind::systemAgent);
    }

    void labelsSortByValueIgnoringCase() {
        QList<JobPtr> jobs = {jobOf(Kind::userAgent, QStringLiteral("job10")),
                              jobOf(Kind::userAgent, QStringLiteral("Job2")),
                              jobOf(Kind::userAgent, QStringLiteral("alpha")),
                              jobOf(Kind::userAgent, QStringLiteral("job1"))};
        std::sort(jobs.begin(), jobs.end(), jobLessThan);
        QStringList labels;
        for (const JobPtr &job : jobs)
            labels << job->label;
        QCOMPARE(labels, (QStringList{QStringLiteral("alpha"), QStringLiteral("job1"),
                                      QStringLiteral("Job2"), QStringLiteral("job10")}));
    }

    void showingAJobCopiesItsFlagsToTheEditor() {
        TestRoot root;
        auto job = jobOf(Kind::localDaemon, QStringLiteral("job"));
        job->originalKind = Kind::userAgent;
        job->setKeepAlive(true);
        job->isScheduledEnabled = true;
        job->isMachServicesEnabled = false;
        Bindings &bindings = Bindings::shared();
        bindings.update(job);
        QCOMPARE(job->originalKind, Kind::localDaemon);
        QVERIFY(job->isKeepAliveSuccessfulExitEnabled);
        QVERIFY(bindings.isKeepAliveSuccessfulExitEnabled());
        QVERIFY(bindings.isScheduledEnabled());
        QVERIFY(!bindings.isMachServicesEnabled());
        QVERIFY(!bindings.isLocked());

        bindings.update(nullptr);
        QVERIFY(bindings.isLocked());
    }

    void jobListFindsJobsByFileAndAnnouncesUpdates() {
        TestRoot root;
        auto job = jobOf(Kind::userAgent, QStringLiteral("job"));
        job->url = QStringLiteral("/x/LaunchAgents/job.plist");
        QSignalSpy updated(&JobList::shared(), &JobList::jobsUpdated);
        JobList::shared().setJobs({job});
        QCOMPARE(updated.size(), 1);
        QCOMPARE(JobList::shared().jobWithUrl(QStringLiteral("/x/LaunchAgents//job.plist")), job);
        QVERIFY(!JobList::shared().jobWithUrl(QStringLiteral("/x/other.plist")));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestJob)
#include "test_job.moc"

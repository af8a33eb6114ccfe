#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "platform/plistcodec.h"
#include "store/jobfiles.h"
#include "store/revisioncontroller.h"
#include "support/const.h"
#include "support/dates.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"

#include <QTest>
#include <QTimeZone>

using namespace Vandra;

namespace {

const QDateTime firstSave(QDate(2026, 1, 5), QTime(9, 0), QTimeZone::utc());

JobPtr jobAt(const QString &path, const QString &label = QStringLiteral("org.example.job"),
             PlistDict extra = {}) {
    extra.insert(QStringLiteral("Label"), PlistValue(label));
    extra.insert(QStringLiteral("Program"), PlistValue(QStringLiteral("/bin/true")));
    return JobReader::jobFromPlist(extra, path, Kind::userAgent);
}

// The revisions stored under path in the file itself.
PlistArray storedEntries(const RevisionController &revisions, const QString &path) {
    const PlistReadResult result = PlistCodec::readFile(revisions.revisionsFile());
    if (!result.value || !result.value->dict())
        return {};
    const PlistValue *entries = result.value->dict()->find(path);
    return entries && entries->array() ? *entries->array() : PlistArray();
}

double dateOf(const PlistValue &entry) {
    return entry.dict()->value(Const::Revision::date).toNumber().value_or(-1);
}

} // namespace

class TestRevisions : public QObject {
    Q_OBJECT

private:
    RevisionController revisions;

    // Records count revisions of job, one minute apart from the first save on.
    void record(Job &job, int count, int startMinute = 0) {
        for (int i = 0; i < count; ++i) {
            revisions.setClock(firstSave.addSecs(60 * (startMinute + i)));
            revisions.recordRevision(job);
        }
    }

private Q_SLOTS:
    void init() { revisions.reset(); }

    void keepsTheNewestUpToTheLimit() {
        TestRoot root;
        const JobPtr job = jobAt(root.path(s("home/a.plist")));
        record(*job, 13);
        const PlistArray entries = storedEntries(revisions, *job->url);
        QCOMPARE(entries.size(), 12);
        QCOMPARE(dateOf(entries.first()), double(firstSave.addSecs(60 * 12).toSecsSinceEpoch()));
        QCOMPARE(dateOf(entries.last()), double(firstSave.addSecs(60).toSecsSinceEpoch()));
        // What a save writes, not the dictionary as read.
        const PlistValue saved = entries.first().dict()->value(Const::Revision::plist);
        QCOMPARE(saved, PlistValue(JobWriter::makePlist(*job, nullptr)));
        QVERIFY(saved != PlistValue(*job->plist));

        JobList::shared().setCurrentJob(job);
        const QList<RevisionItem> items = revisions.revisionItems();
        QCOMPARE(items.size(), 12);
        QCOMPARE(items.first().title,
                 Date::standardDateFormatter(firstSave.addSecs(60 * 12).toLocalTime()));
        QCOMPARE(items.last().title,
                 Date::standardDateFormatter(firstSave.addSecs(60).toLocalTime()));
    }

    void aLowerLimitTakesEffectAtTheNextSave() {
        TestRoot root;
        const JobPtr job = jobAt(root.path(s("home/a.plist")));
        record(*job, 5);
        Defaults::shared().setValue(UserDefaultsKeys::numberOfSavedRevisions, 2);
        QCOMPARE(storedEntries(revisions, *job->url).size(), 5);
        record(*job, 1, 10);
        QCOMPARE(storedEntries(revisions, *job->url).size(), 2);

        Defaults::shared().setValue(UserDefaultsKeys::numberOfSavedRevisions, 0);
        record(*job, 1, 20);
        QVERIFY(storedEntries(revisions, *job->url).isEmpty());
        Defaults::shared().setValue(UserDefaultsKeys::numberOfSavedRevisions, -3);
        record(*job, 1, 30);
        QVERIFY(storedEntries(revisions, *job->url).isEmpty());
    }

    void filesOfTheSameNameKeepSeparateHistories() {
        TestRoot root;
        const JobPtr mine = jobAt(root.path(s("home/LaunchAgents/x.plist")), s("mine"));
        const JobPtr theirs = jobAt(root.path(s("etc/LaunchAgents/x.plist")), s("theirs"));
        record(*mine, 2);
        record(*theirs, 1);
        QCOMPARE(storedEntries(revisions, *mine->url).size(), 2);
        QCOMPARE(storedEntries(revisions, *theirs->url).size(), 1);

        // A job that was never saved has no history.
        Job unsaved = *mine;
        unsaved.url.reset();
        revisions.recordRevision(unsaved);
        QCOMPARE(revisions.revisions().size(), 2);
    }

    void anUnreadableFileCountsAsEmptyAndIsSetAside() {
        TestRoot root;
        const QByteArray broken = QByteArrayLiteral("<plist><dict><key>/a.plist</key><array>");
        JobFiles::writeBytes(revisions.revisionsFile(), broken);
        const JobPtr job = jobAt(root.path(s("home/a.plist")));
        record(*job, 2);
        QCOMPARE(storedEntries(revisions, *job->url).size(), 2);
        // What the old file held stays on disk for the user, once.
        QFile aside(revisions.revisionsFile() + s(".bak"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), broken);
        QVERIFY(!QFile::exists(revisions.revisionsFile() + s(".bak2")));
    }

    void aPathWithAControlCharacterDoesNotStopLaterRevisions() {
        TestRoot root;
        const JobPtr odd = jobAt(root.path(s("home/odd\x01.plist")));
        const JobPtr plain = jobAt(root.path(s("home/plain.plist")));
        record(*odd, 1);
        record(*plain, 1);
        revisions.reset();
        QCOMPARE(storedEntries(revisions, *odd->url).size(), 1);
        QCOMPARE(storedEntries(revisions, *plain->url).size(), 1);
    }

    void theScheduleIsKeptWithoutARuleEditor() {
        TestRoot root;
        const PlistValue calendar(PlistArray{
            PlistValue(PlistDict{{s("Minute"), PlistValue(15)}, {s("Hour"), PlistValue(3)}})});
        const JobPtr job =
            jobAt(root.path(s("home/a.plist")), s("scheduled"),
                  {{s("StartCalendarInterval"), calendar}, {s("StartInterval"), PlistValue(7200)}});
        record(*job, 1);
        const PlistArray entries = storedEntries(revisions, *job->url);
        QCOMPARE(entries.size(), 1);
        const PlistDict saved = *entries.first().dict()->find(Const::Revision::plist)->dict();
        QCOMPARE(saved.value(s("StartCalendarInterval")), calendar);
        QCOMPARE(saved.value(s("StartInterval")), PlistValue(7200));
    }

    void theSubmenuIsOfferedOnlyForASavedCleanJob() {
        TestRoot root;
        QVERIFY(!revisions.isRevertEnabled());
        const JobPtr job = jobAt(root.path(s("home/a.plist")));
        JobList::shared().setCurrentJob(job);
        QVERIFY(!revisions.isRevertEnabled());
        record(*job, 1);
        QVERIFY(revisions.isRevertEnabled());
        Bindings::shared().setEdited(true);
        QVERIFY(!revisions.isRevertEnabled());
        Bindings::shared().setEdited(false);

        // Entries whose date is no number, or no moment a save could have had, are not listed.
        PlistArray entries = storedEntries(revisions, *job->url);
        for (const PlistValue &date : {PlistValue(s("yesterday")), PlistValue(1e300),
                                       PlistValue(-1e300), PlistValue(-9.3e15)})
            entries.append(PlistValue(PlistDict{
                {Const::Revision::date, date}, {Const::Revision::plist, PlistValue(PlistDict())}}));
        JobFiles::writeDict(revisions.revisionsFile(), {{*job->url, PlistValue(entries)}});
        revisions.reset();
        QCOMPARE(revisions.revisionItems().size(), 1);
    }

    void choosingARevisionEditsWithoutWriting() {
        TestRoot root;
        const QString file = JobFiles::writeJob(Kind::userAgent, s("org.example.job"));
        const JobPtr job = jobAt(file);
        job->setRun(s("/bin/echo old"));
        job->changes().insert(Change::run);
        record(*job, 1);
        JobList::shared().setCurrentJob(jobAt(file));
        const QByteArray before = [&] {
            QFile in(revisions.revisionsFile());
            return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        }();

        const QList<RevisionItem> items = revisions.revisionItems();
        QCOMPARE(items.size(), 1);
        QVERIFY(revisions.insertRevision(items.first().entry));
        const JobPtr restored = JobList::shared().currentJob();
        QCOMPARE(restored->run(), s("/bin/echo old"));
        QCOMPARE(restored->url, file);
        QCOMPARE(restored->kind, Kind::userAgent);
        QVERIFY(restored->changes().contains(Change::generic));
        QVERIFY(Bindings::shared().isEdited());
        QFile in(revisions.revisionsFile());
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), before);

        // A revision that is no job is ignored.
        Bindings::shared().setEdited(false);
        const PlistDict noJob{
            {Const::Revision::date, PlistValue(1.0)},
            {Const::Revision::plist, PlistValue(PlistDict{{s("Program"), PlistValue(s("/x"))}})}};
        QVERIFY(!revisions.insertRevision(noJob));
        QVERIFY(!revisions.insertRevision({}));
        QCOMPARE(JobList::shared().currentJob(), restored);
        QVERIFY(!Bindings::shared().isEdited());
    }

    void clearingForgetsEveryJob() {
        TestRoot root;
        const JobPtr a = jobAt(root.path(s("home/a.plist")));
        const JobPtr b = jobAt(root.path(s("home/b.plist")));
        record(*a, 1);
        record(*b, 1);
        revisions.clearMenu();
        QVERIFY(!QFile::exists(revisions.revisionsFile()));
        QVERIFY(revisions.revisions().isEmpty());
        JobList::shared().setCurrentJob(a);
        QVERIFY(!revisions.isRevertEnabled());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestRevisions)
#include "test_revisions.moc"

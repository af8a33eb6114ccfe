#include "common/jobrecords.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "schedule/timelinebuilder.h"
#include "schedule/virtualtimeline.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <numeric>

using namespace Vandra;

namespace {

PlistValue entry(std::initializer_list<PlistDict::Entry> keys) {
    return PlistValue(PlistDict(keys));
}

// A job for every kind of calendar entry and interval, some sharing their minutes.
QList<JobPtr> everyKindOfRule() {
    const PlistValue h = PlistValue(2);
    QList<JobPtr> jobs{
        calendarJob(s("daily"), entry({{s("Hour"), h}, {s("Minute"), PlistValue(30)}})),
        calendarJob(s("hourly"), entry({{s("Minute"), PlistValue(30)}})),
        calendarJob(s("hour of minutes"), entry({{s("Hour"), h}})),
        calendarJob(s("always"), entry({})),
        calendarJob(s("sundays"), entry({{s("Weekday"), PlistValue(7)}, {s("Hour"), h}})),
        calendarJob(s("mondays"), entry({{s("Weekday"), PlistValue(1)}})),
        calendarJob(s("first or wednesdays"), entry({{s("Day"), PlistValue(1)},
                                                     {s("Weekday"), PlistValue(3)},
                                                     {s("Hour"), PlistValue(3)},
                                                     {s("Minute"), PlistValue(0)}})),
        calendarJob(s("clamped"), entry({{s("Month"), PlistValue(13)},
                                         {s("Day"), PlistValue(40)},
                                         {s("Minute"), PlistValue(0)}})),
        calendarJob(s("a month"),
                    entry({{s("Month"), PlistValue(11)}, {s("Minute"), PlistValue(7)}})),
        calendarJob(s("day zero"),
                    entry({{s("Day"), PlistValue(0)}, {s("Minute"), PlistValue(5)}})),
        calendarJob(s("the 26th"), entry({{s("Day"), PlistValue(26)}, {s("Hour"), h}})),
        calendarJob(s("odd types"), entry({{s("Hour"), PlistValue(s("nine"))},
                                           {s("Weekday"), PlistValue(-3)},
                                           {s("Minute"), PlistValue(0)}})),
        calendarJob(s("twice a day"),
                    PlistValue(PlistArray{
                        entry({{s("Hour"), PlistValue(2)}, {s("Minute"), PlistValue(30)}}),
                        entry({{s("Hour"), PlistValue(14)}, {s("Minute"), PlistValue(30)}}),
                        entry({{s("Minute"), PlistValue(45)}})})),
        jobFromKeys(s("interval"),
                    {{s("StartInterval"), PlistValue(3600)}, {s("Disabled"), PlistValue(true)}}),
        jobFromKeys(
            s("quick and daily"),
            {{s("StartInterval"), PlistValue(5)},
             {s("StartCalendarInterval"), entry({{s("Hour"), h}, {s("Minute"), PlistValue(30)}})}}),
        calendarJob(s("disabled hourly"), entry({{s("Minute"), PlistValue(0)}})),
        calendarJob(s("never"), entry({{s("Month"), PlistValue(2)}, {s("Day"), PlistValue(31)}})),
    };
    jobs.last()->setEnabled(false);
    jobs.at(jobs.size() - 2)->setEnabled(false);
    const JobPtr unsaved = calendarJob(s("unsaved"), entry({{s("Minute"), PlistValue(1)}}));
    unsaved->url.reset();
    jobs << unsaved << nullptr;
    return jobs;
}

QList<Timeline> reference(const QList<JobPtr> &jobs, const QDateTime &now, const QTimeZone &zone) {
    TimelineBuilder builder(now, zone);
    return builder.buildTimeline(jobs).value_or(QList<Timeline>());
}

QString describe(const Timeline &row) {
    return s("%1 %2 %3 %4 %5")
        .arg(int(row.kind))
        .arg(row.date.toUTC().toString(Qt::ISODate), row.name)
        .arg(row.isEnabled)
        .arg(row.url.value_or(QString()));
}

// Every row of timeline equals the one of the same place in rows, fetched in order.
void compareRows(VirtualTimeline &timeline, const QList<Timeline> &rows,
                 const QList<qint64> &order) {
    QCOMPARE(timeline.rowCount(), rows.size());
    for (const qint64 index : order) {
        const Timeline row = timeline.row(index);
        QVERIFY2(row == rows.at(index),
                 qPrintable(s("row %1: %2 instead of %3")
                                .arg(index)
                                .arg(describe(row), describe(rows.at(index)))));
        QCOMPARE(timeline.kindAt(index), row.kind);
    }
}

} // namespace

class TestVirtualTimeline : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyRowIsTheRowOfTheBuiltTimeline_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QTimeZone>("zone");
        const QTimeZone berlin("Europe/Berlin");
        const QTimeZone lordHowe("Australia/Lord_Howe"); // its clocks move by half an hour
        QTest::newRow("a plain month")
            << QDateTime(QDate(2026, 6, 10), QTime(10, 0, 30, 500), berlin) << berlin;
        QTest::newRow("clocks go forward")
            << QDateTime(QDate(2026, 3, 28), QTime(12, 0), berlin) << berlin;
        QTest::newRow("now on the day clocks go forward")
            << QDateTime(QDate(2026, 3, 29), QTime(1, 30), berlin) << berlin;
        QTest::newRow("clocks go back")
            << QDateTime(QDate(2026, 10, 24), QTime(12, 0), berlin) << berlin;
        QTest::newRow("now in the hour that comes twice")
            << QDateTime(QDate(2026, 10, 25), QTime(0, 40), QTimeZone::utc()) << berlin;
        QTest::newRow("the month ends in February")
            << QDateTime(QDate(2027, 1, 31), QTime(8, 0), berlin) << berlin;
        QTest::newRow("half an hour forward")
            << QDateTime(QDate(2026, 10, 3), QTime(23, 0), lordHowe) << lordHowe;
        QTest::newRow("half an hour back")
            << QDateTime(QDate(2026, 4, 4), QTime(12, 0), lordHowe) << lordHowe;
        QTest::newRow("no clock changes")
            << QDateTime(QDate(2026, 10, 24), QTime(23, 59, 59), QTimeZone::utc())
            << QTimeZone::utc();
    }

    void everyRowIsTheRowOfTheBuiltTimeline() {
        QFETCH(QDateTime, now);
        QFETCH(QTimeZone, zone);
        QVERIFY(zone.isValid());
        TestRoot root;
        const QList<JobPtr> jobs = everyKindOfRule();
        const QList<Timeline> rows = reference(jobs, now, zone);
        QVERIFY(rows.size() > 1000);

        QList<qint64> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        VirtualTimeline inOrder(jobs, now, zone);
        QVERIFY(inOrder.isValid());
        compareRows(inOrder, rows, order);

        // A view asks in any order, and a fresh timeline answers the same.
        std::shuffle(order.begin(), order.end(), *QRandomGenerator::global());
        order.resize(500);
        VirtualTimeline shuffled(jobs, now, zone);
        compareRows(shuffled, rows, order);

        QList<qint64> headings;
        for (qsizetype i = 0; i < rows.size(); ++i) {
            if (rows.at(i).kind == TimelineKind::group)
                headings << i;
        }
        QCOMPARE(shuffled.headingRows(), headings);

        // A filter's part of the list, its starts added up from those counted for each job.
        const VirtualTimeline whole(TimelineJobs(jobs), now, zone, VirtualTimeline::Counts::perJob);
        QList<JobPtr> part;
        for (qsizetype i = 0; i < jobs.size(); i += 2)
            part << jobs.at(i);
        const QList<Timeline> partRows = reference(part, now, zone);
        QList<qint64> partOrder(partRows.size());
        std::iota(partOrder.begin(), partOrder.end(), 0);
        VirtualTimeline counted = whole.part(whole.jobs().subset(part));
        compareRows(counted, partRows, partOrder);
        for (const JobPtr &job : jobs) {
            if (!job || !job->url)
                continue;
            const auto first =
                std::find_if(rows.cbegin(), rows.cend(), [&job](const Timeline &row) {
                    return row.kind != TimelineKind::group && row.url == job->url;
                });
            QCOMPARE(shuffled.firstRowOfUrl(*job->url),
                     first == rows.cend() ? -1 : qint64(first - rows.cbegin()));
        }
    }

    void aFilteredListTakesWhatItCanFromTheWholeList() {
        TestRoot root;
        const QTimeZone berlin("Europe/Berlin");
        const QDateTime now(QDate(2026, 3, 27), QTime(18, 0), berlin);
        const QList<JobPtr> all = everyKindOfRule();
        const TimelineJobs read(all);
        QList<JobPtr> part;
        for (qsizetype i = all.size() - 1; i >= 0; i -= 2)
            part << all.at(i);
        part << calendarJob(s("not in the whole list"), entry({{s("Minute"), PlistValue(30)}}));

        // The current job may have edits that were not saved: it is read again.
        const JobPtr edited = part.at(1);
        JobList::shared().setCurrentJob(edited);
        edited->plist->insert(s("StartCalendarInterval"), entry({{s("Minute"), PlistValue(9)}}));
        edited->scheduled.reset();

        const QList<Timeline> rows = reference(part, now, berlin);
        QList<qint64> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        VirtualTimeline filtered(read.subset(part), now, berlin);
        compareRows(filtered, rows, order);
        // Counted from the whole list's counts, except for the jobs read again.
        const VirtualTimeline whole(read, now, berlin, VirtualTimeline::Counts::perJob);
        VirtualTimeline counted = whole.part(whole.jobs().subset(part));
        compareRows(counted, rows, order);
    }

    void aTimelineServesForAsLongAsItsStartsStayTheSame() {
        TestRoot root;
        const QTimeZone berlin("Europe/Berlin");
        const QList<JobPtr> jobs{calendarJob(
            s("daily"), entry({{s("Hour"), PlistValue(10)}, {s("Minute"), PlistValue(0)}}))};
        const QDateTime atTen(QDate(2026, 6, 10), QTime(10, 0), berlin);
        const VirtualTimeline later(jobs, atTen.addSecs(10), berlin);
        QVERIFY(later.hasStartsOfMonthFrom(atTen.addSecs(50)));
        QVERIFY(!later.hasStartsOfMonthFrom(atTen.addSecs(70)));
        // Made on the minute, its end is the start a month later, which it leaves out and a
        // timeline made a moment after takes in.
        const VirtualTimeline onTheMinute(jobs, atTen, berlin);
        QVERIFY(!onTheMinute.hasStartsOfMonthFrom(atTen.addSecs(20)));
        QCOMPARE(later.rowCount(), onTheMinute.rowCount() + 2);
        QVERIFY(!VirtualTimeline(jobs, QDateTime(), berlin).hasStartsOfMonthFrom(atTen));
    }

    void anEmptyListOrAMonthThatCannotBeFormedHasNoRows() {
        TestRoot root;
        const QTimeZone berlin("Europe/Berlin");
        VirtualTimeline empty(QList<JobPtr>(), QDateTime(QDate(2026, 6, 10), QTime(10, 0), berlin),
                              berlin);
        QVERIFY(empty.isValid());
        QCOMPARE(empty.rowCount(), 0);
        QVERIFY(empty.headingRows().isEmpty());
        VirtualTimeline never(everyKindOfRule(), QDateTime(), berlin);
        QVERIFY(!never.isValid());
        QCOMPARE(never.rowCount(), 0);
    }

    void anEndOfItsOwnLimitsTheStarts() {
        TestRoot root;
        const QTimeZone berlin("Europe/Berlin");
        const QDateTime now(QDate(2026, 6, 10), QTime(10, 0), berlin);
        const QList<JobPtr> jobs{calendarJob(
            s("daily"), entry({{s("Hour"), PlistValue(9)}, {s("Minute"), PlistValue(30)}}))};
        // Two days: the 11th and the 12th; the 13th at 9:30 is the end itself.
        VirtualTimeline shortOne(jobs, now, QDateTime(QDate(2026, 6, 13), QTime(9, 30), berlin),
                                 berlin);
        QCOMPARE(shortOne.rowCount(), 4);
        QCOMPARE(shortOne.row(3).date, QDateTime(QDate(2026, 6, 12), QTime(9, 30), berlin));
        // A year: every day of it, past the month the window shows.
        VirtualTimeline year(jobs, now, now.addYears(1), berlin);
        QCOMPARE(year.rowCount(), 2 * 365);
        QCOMPARE(year.row(year.rowCount() - 1).date,
                 QDateTime(QDate(2027, 6, 10), QTime(9, 30), berlin));
        // An end before now leaves no start.
        QCOMPARE(VirtualTimeline(jobs, now, now.addDays(-1), berlin).rowCount(), 0);
    }

    void thousandsOfEveryMinuteJobsHoldMemoryByJobNotByRow() {
        TestRoot root;
        const QTimeZone berlin("Europe/Berlin");
        constexpr int jobCount = 3000;
        QList<JobPtr> jobs;
        jobs.reserve(jobCount);
        for (int i = 0; i < jobCount; ++i)
            jobs << calendarJob(s("job%1").arg(i), entry({}));
        // Across the day the clocks go back, so that its minutes are looked up one by one.
        VirtualTimeline timeline(jobs, QDateTime(QDate(2026, 10, 10), QTime(12, 0), berlin),
                                 berlin);
        // One row an hour for each job for a month: some two million rows.
        QVERIFY(timeline.rowCount() > qint64(jobCount) * 24 * 30);
        const qsizetype built = timeline.heldBytes();
        // Rows from all over the period, as scrolling through it asks for them.
        for (qint64 index = 0; index < timeline.rowCount(); index += 9973)
            QVERIFY(!timeline.row(index).name.isEmpty());
        const qsizetype used = std::max(built, timeline.heldBytes());
        constexpr qsizetype perJob = 512;
        constexpr qsizetype perPeriod = 256 * 1024; // the days and their clocks
        QVERIFY2(used <= jobCount * perJob + perPeriod,
                 qPrintable(s("%1 bytes for %2 rows").arg(used).arg(timeline.rowCount())));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestVirtualTimeline)
#include "test_virtualtimeline.moc"

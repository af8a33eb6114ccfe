#include "common/jobrecords.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "platform/datetexts.h"
#include "schedule/timelinebuilder.h"
#include "support/const.h"
#include "support/localize.h"
#include "support/text.h"

#include <QTest>

using namespace Vandra;

namespace {

const QTimeZone berlin("Europe/Berlin");

QDateTime at(int year, int month, int day, int hour, int minute, const QTimeZone &zone = berlin) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute), zone);
}

PlistValue entry(std::initializer_list<PlistDict::Entry> keys) {
    return PlistValue(PlistDict(keys));
}

QList<Timeline> build(const QList<JobPtr> &jobs, const QDateTime &now,
                      const QTimeZone &zone = berlin) {
    TimelineBuilder builder(now, zone);
    return builder.buildTimeline(jobs).value_or(QList<Timeline>());
}

QList<Timeline> ofKind(const QList<Timeline> &rows, TimelineKind kind) {
    QList<Timeline> result;
    for (const Timeline &row : rows) {
        if (row.kind == kind)
            result << row;
    }
    return result;
}

QString local(const QDateTime &date) {
    return date.toTimeZone(berlin).toString(s("yyyy-MM-dd HH:mm"));
}

} // namespace

class TestTimeline : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(berlin.isValid()); }

    void aDailyStartBeginsTomorrowAndEndsBeforeTheMonthIsOut() {
        TestRoot root;
        const QDateTime now = at(2026, 6, 10, 10, 0);
        const QList<Timeline> rows =
            build({calendarJob(s("daily"),
                               entry({{s("Hour"), PlistValue(9)}, {s("Minute"), PlistValue(30)}}))},
                  now);

        const QList<Timeline> times = ofKind(rows, TimelineKind::time);
        QCOMPARE(times.size(), 30);
        QCOMPARE(local(times.first().date), s("2026-06-11 09:30"));
        QCOMPARE(local(times.last().date), s("2026-07-10 09:30"));
        QCOMPARE(times.first().name, s("daily"));
        QCOMPARE(times.first().url, s("/jobs/daily.plist"));
        QVERIFY(times.first().isEnabled);

        // A heading before each day, dated now; the first day is tomorrow.
        QCOMPARE(rows.size(), 60);
        QCOMPARE(rows.at(0).kind, TimelineKind::group);
        QCOMPARE(rows.at(0).name, s("Tomorrow"));
        QCOMPARE(rows.at(0).date, now);
        QVERIFY(!rows.at(0).url);
        QCOMPARE(rows.at(2).name, s("Friday, June 12, 2026"));
        QCOMPARE(rows.at(1).kind, TimelineKind::time);
    }

    void theEndOfTheMonthIsExclusive() {
        TestRoot root;
        const QDateTime now = at(2026, 6, 10, 9, 30);
        const QList<Timeline> rows =
            build({calendarJob(s("daily"),
                               entry({{s("Hour"), PlistValue(9)}, {s("Minute"), PlistValue(30)}}))},
                  now);
        const QList<Timeline> times = ofKind(rows, TimelineKind::time);
        // Strictly after now and strictly before a month later.
        QCOMPARE(local(times.first().date), s("2026-06-11 09:30"));
        QCOMPARE(local(times.last().date), s("2026-07-09 09:30"));
        QCOMPARE(times.size(), 29);
    }

    void todayIsNamed() {
        TestRoot root;
        const QList<Timeline> rows =
            build({calendarJob(s("evening"),
                               entry({{s("Hour"), PlistValue(21)}, {s("Minute"), PlistValue(0)}}))},
                  at(2026, 6, 10, 10, 0));
        QCOMPARE(rows.at(0).name, s("Today"));
        QCOMPARE(rows.at(2).name, s("Tomorrow"));
        QCOMPARE(rows.at(4).name, s("Friday, June 12, 2026"));
    }

    void weekdaysFollowLaunchd_data() {
        QTest::addColumn<PlistValue>("weekday");
        QTest::addColumn<int>("dayOfWeek"); // 1 = Monday ... 7 = Sunday
        QTest::newRow("0 is Sunday") << PlistValue(0) << 7;
        QTest::newRow("1 is Monday") << PlistValue(1) << 1;
        QTest::newRow("6 is Saturday") << PlistValue(6) << 6;
        QTest::newRow("7 is Sunday") << PlistValue(7) << 7;
        QTest::newRow("out of range is Sunday") << PlistValue(12) << 7;
        QTest::newRow("negative is Sunday") << PlistValue(-1) << 7;
    }

    void weekdaysFollowLaunchd() {
        QFETCH(PlistValue, weekday);
        QFETCH(int, dayOfWeek);
        TestRoot root;
        const QList<Timeline> times = ofKind(
            build({calendarJob(s("weekly"),
                               entry({{s("Weekday"), weekday}, {s("Hour"), PlistValue(8)}}))},
                  at(2026, 6, 10, 10, 0)),
            TimelineKind::time);
        QVERIFY(times.size() >= 4 && times.size() <= 5);
        for (const Timeline &row : times) {
            const QDateTime when = row.date.toTimeZone(berlin);
            QCOMPARE(when.date().dayOfWeek(), dayOfWeek);
            QCOMPARE(when.time(), QTime(8, 0));
        }
    }

    void calendarFieldsAreClampedOrMatchNothing_data() {
        QTest::addColumn<PlistValue>("calendar");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("first");
        QTest::addColumn<int>("count");
        const QDateTime december = at(2026, 12, 5, 12, 0);
        QTest::newRow("month 13 day 40 is 31 December")
            << entry({{s("Month"), PlistValue(13)},
                      {s("Day"), PlistValue(40)},
                      {s("Hour"), PlistValue(0)},
                      {s("Minute"), PlistValue(0)}})
            << december << QStringList{s("2026-12-31 00:00")} << 1;
        QTest::newRow("31 February never comes")
            << entry({{s("Month"), PlistValue(2)}, {s("Day"), PlistValue(31)}})
            << at(2027, 1, 20, 0, 0) << QStringList() << 0;
        QTest::newRow("day 31 in a run of short months")
            << entry({{s("Day"), PlistValue(31)}, {s("Hour"), PlistValue(6)}})
            << at(2026, 3, 31, 7, 0) << QStringList() << 0;
        QTest::newRow("day 0 is the first, every hour")
            << entry({{s("Day"), PlistValue(0)}, {s("Minute"), PlistValue(5)}}) << december
            << QStringList{s("2027-01-01 00:05"), s("2027-01-01 01:05")} << 24;
        QTest::newRow("month without day is every day of that month")
            << entry({{s("Month"), PlistValue(1)},
                      {s("Hour"), PlistValue(4)},
                      {s("Minute"), PlistValue(1)}})
            << at(2026, 12, 20, 12, 0) << QStringList{s("2027-01-01 04:01"), s("2027-01-02 04:01")}
            << 20;
        QTest::newRow("a month that does not come within the month")
            << entry({{s("Month"), PlistValue(3)}, {s("Minute"), PlistValue(1)}}) << december
            << QStringList() << 0;
        QTest::newRow("the 1st or Mondays, a Monday the 1st once")
            << entry({{s("Day"), PlistValue(1)},
                      {s("Weekday"), PlistValue(1)},
                      {s("Hour"), PlistValue(3)},
                      {s("Minute"), PlistValue(0)}})
            << at(2027, 2, 20, 12, 0)
            << QStringList{s("2027-02-22 03:00"), s("2027-03-01 03:00"), s("2027-03-08 03:00")}
            << 4;
        QTest::newRow("hour of another type means midnight")
            << PlistValue(PlistArray{entry({{s("Hour"), PlistValue(s("nine"))},
                                            {s("Day"), PlistValue(6)},
                                            {s("Minute"), PlistValue(0)}})})
            << december << QStringList{s("2026-12-06 00:00")} << 1;
    }

    void calendarFieldsAreClampedOrMatchNothing() {
        QFETCH(PlistValue, calendar);
        QFETCH(QDateTime, now);
        QFETCH(QStringList, first);
        QFETCH(int, count);
        TestRoot root;
        QStringList dates;
        for (const Timeline &row :
             ofKind(build({calendarJob(s("job"), calendar)}, now), TimelineKind::time))
            dates << local(row.date);
        QCOMPARE(dates.mid(0, first.size()), first);
        QCOMPARE(dates.size(), count);
    }

    void missingHoursAndMinutesAreEveryValueAndEveryMinuteIsOneRowAnHour() {
        TestRoot root;
        // Mondays, every minute: one row for each hour of each Monday, at its first start.
        const QDateTime now = at(2026, 6, 1, 10, 30); // a Monday
        const QList<Timeline> times =
            ofKind(build({calendarJob(s("mondays"), entry({{s("Weekday"), PlistValue(1)}}))}, now),
                   TimelineKind::time);
        // The rest of today from 10:31, then four whole Mondays.
        QCOMPARE(times.size(), 14 + 4 * 24);
        QCOMPARE(local(times.at(0).date), s("2026-06-01 10:31"));
        QCOMPARE(local(times.at(1).date), s("2026-06-01 11:00"));
        QCOMPARE(local(times.last().date), s("2026-06-29 23:00"));
        QCOMPARE(times.first().name,
                 Text::bidirectionalString({s("mondays"), Localize::text("every minute")},
                                           Const::separator));

        // An empty entry is every minute of every hour, still one row an hour.
        const QList<Timeline> always = ofKind(
            build({calendarJob(s("always"), entry({}))}, at(2026, 6, 1, 0, 0)), TimelineKind::time);
        QCOMPARE(always.size(), 30 * 24);

        // An hour without a minute is every minute of that hour.
        const QList<Timeline> nine =
            ofKind(build({calendarJob(s("nine"), entry({{s("Hour"), PlistValue(9)}}))},
                         at(2026, 6, 1, 0, 0)),
                   TimelineKind::time);
        QCOMPARE(nine.size(), 30);
        QCOMPARE(local(nine.first().date), s("2026-06-01 09:00"));

        // Of a minute-by-minute match, the dates themselves are all there.
        CalendarMatch match;
        match.hour = 9;
        QCOMPARE(TimelineBuilder::matchingDates(match, at(2026, 6, 1, 0, 0), at(2026, 6, 2, 0, 0),
                                                berlin)
                     .size(),
                 60);
    }

    void aMinuteAloneStartsEveryHour() {
        TestRoot root;
        const QDateTime now = at(2026, 6, 1, 0, 0);
        const QList<Timeline> times =
            ofKind(build({calendarJob(s("hourly"), entry({{s("Minute"), PlistValue(15)}}))}, now),
                   TimelineKind::time);
        QCOMPARE(times.size(), 30 * 24);
        QCOMPARE(local(times.first().date), s("2026-06-01 00:15"));
    }

    void clocksGoingForwardSkipTheMissingHour() {
        TestRoot root;
        // In Berlin 29 March 2026 has no 02:00-02:59.
        const QDateTime now = at(2026, 3, 28, 12, 0);
        const QList<Timeline> daily = ofKind(
            build({calendarJob(s("late night"),
                               entry({{s("Hour"), PlistValue(2)}, {s("Minute"), PlistValue(30)}}))},
                  now),
            TimelineKind::time);
        QCOMPARE(local(daily.at(0).date), s("2026-03-30 02:30"));
        QCOMPARE(daily.at(0).date.offsetFromUtc(), 7200);

        const QList<Timeline> hourly =
            ofKind(build({calendarJob(s("hourly"), entry({{s("Minute"), PlistValue(30)}}))}, now),
                   TimelineKind::time);
        int onTheDay = 0;
        for (const Timeline &row : hourly)
            onTheDay += row.date.toTimeZone(berlin).date() == QDate(2026, 3, 29);
        QCOMPARE(onTheDay, 23);
    }

    void clocksGoingBackGiveTheFirstOfARepeatedTime() {
        TestRoot root;
        // In Berlin 25 October 2026 has 02:00-02:59 twice, first in summer time.
        const QDateTime now = at(2026, 10, 24, 12, 0);
        const QList<Timeline> daily = ofKind(
            build({calendarJob(s("late night"),
                               entry({{s("Hour"), PlistValue(2)}, {s("Minute"), PlistValue(30)}}))},
                  now),
            TimelineKind::time);
        QCOMPARE(daily.at(0).date, QDateTime(QDate(2026, 10, 25), QTime(0, 30), QTimeZone::utc()));
        QCOMPARE(local(daily.at(1).date), s("2026-10-26 02:30"));

        const QList<Timeline> hourly =
            ofKind(build({calendarJob(s("hourly"), entry({{s("Minute"), PlistValue(30)}}))}, now),
                   TimelineKind::time);
        int onTheDay = 0;
        for (const Timeline &row : hourly)
            onTheDay += row.date.toTimeZone(berlin).date() == QDate(2026, 10, 25);
        QCOMPARE(onTheDay, 24);
        for (qsizetype i = 1; i < hourly.size(); ++i)
            QVERIFY(hourly.at(i - 1).date < hourly.at(i).date);
    }

    void intervalsAreListedAtTheTopOnly() {
        TestRoot root;
        const QDateTime now = at(2026, 6, 10, 10, 0);
        const JobPtr hourly = jobFromKeys(s("every hour"), {{s("StartInterval"), PlistValue(3600)},
                                                            {s("Disabled"), PlistValue(true)}});
        const JobPtr quick = jobFromKeys(s("quick"), {{s("StartInterval"), PlistValue(5)}});
        const JobPtr mixed = jobFromKeys(
            s("mixed"), {{s("StartInterval"), PlistValue(3900)},
                         {s("StartCalendarInterval"),
                          entry({{s("Hour"), PlistValue(11)}, {s("Minute"), PlistValue(0)}})}});
        const QList<Timeline> rows = build({hourly, quick, mixed}, now);

        QCOMPARE(rows.at(0).kind, TimelineKind::group);
        QCOMPARE(rows.at(0).name, Localize::repeatInterval());
        QCOMPARE(rows.at(1).kind, TimelineKind::interval);
        QCOMPARE(rows.at(1).name, s("every hour – 1 hour"));
        QVERIFY(!rows.at(1).isEnabled);
        QCOMPARE(rows.at(1).date, now);
        QCOMPARE(rows.at(1).url, s("/jobs/every hour.plist"));
        QCOMPARE(rows.at(2).name, s("quick – 10 seconds"));
        QCOMPARE(rows.at(3).name, s("mixed – 1 hour, 5 minutes"));
        QCOMPARE(rows.at(4).kind, TimelineKind::group);
        QCOMPARE(rows.at(4).name, s("Today"));
        QCOMPARE(ofKind(rows, TimelineKind::interval).size(), 3);
        for (const Timeline &row : ofKind(rows, TimelineKind::time))
            QCOMPARE(row.name, s("mixed"));
    }

    void jobsAtTheSameMinuteShareAHeading() {
        TestRoot root;
        const PlistValue calendar = entry({{s("Month"), PlistValue(6)},
                                           {s("Day"), PlistValue(20)},
                                           {s("Hour"), PlistValue(7)},
                                           {s("Minute"), PlistValue(0)}});
        const QList<Timeline> rows =
            build({calendarJob(s("one"), calendar), calendarJob(s("two"), calendar)},
                  at(2026, 6, 10, 10, 0));
        QCOMPARE(rows.size(), 3);
        QCOMPARE(rows.at(0).kind, TimelineKind::group);
        QCOMPARE(rows.at(1).date, rows.at(2).date);
        QStringList names{rows.at(1).name, rows.at(2).name};
        names.sort();
        QCOMPARE(names, (QStringList{s("one"), s("two")}));
    }

    void jobsWithoutFileOrDictionaryAreLeftOut() {
        TestRoot root;
        const JobPtr unsaved = calendarJob(s("unsaved"), entry({{s("Hour"), PlistValue(9)}}));
        unsaved->url.reset();
        const JobPtr loginItem = std::make_shared<Job>();
        loginItem->label = s("login");
        loginItem->url = s("LoginItem.SystemPreferences.login");
        QVERIFY(build({unsaved, loginItem, nullptr}, at(2026, 6, 10, 10, 0)).isEmpty());
    }

    void durationsAreSpelledOut() {
        QCOMPARE(DateTexts::duration(3600), s("1 hour"));
        QCOMPARE(DateTexts::duration(3900), s("1 hour, 5 minutes"));
        QCOMPARE(DateTexts::duration(86400), s("24 hours"));
        QCOMPARE(DateTexts::duration(61), s("1 minute, 1 second"));
        QCOMPARE(DateTexts::duration(0), s("0 seconds"));
        QCOMPARE(DateTexts::duration(-1), QString());
    }

    void theMonthEndsInTheZoneCalendar() {
        // One month after 31 January is the last day of February.
        TimelineBuilder builder(at(2027, 1, 31, 8, 0), berlin);
        QVERIFY(builder.horizon());
        QCOMPARE(local(*builder.horizon()), s("2027-02-28 08:00"));
    }
};

VANDRA_GUILESS_TEST_MAIN(TestTimeline)
#include "test_timeline.moc"

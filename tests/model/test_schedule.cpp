#include "common/testmain.h"
#include "model/launchdkey.h"
#include "model/schedulereader.h"
#include "model/schedulerules.h"
#include "model/schedulewriter.h"
#include "support/dates.h"
#include "support/localize.h"

#include <QLocale>
#include <QTest>

#include <limits>

using namespace Vandra;

namespace Key = LaunchdKey::StartCalendarInterval;
using Unit = Scheduled::RepeatInterval::Unit;

namespace {

QString timeText(const QTime &time) {
    return time.toString(QStringLiteral("HH:mm"));
}

// Rules as short texts, so that a failed comparison shows which rule differs.
QString describe(const ScheduledType &rule) {
    if (const auto *r = std::get_if<Scheduled::RepeatInterval>(&rule)) {
        static const QStringList units{QStringLiteral("seconds"), QStringLiteral("minutes"),
                                       QStringLiteral("hours"), QStringLiteral("days")};
        return QStringLiteral("every %1 %2").arg(r->interval).arg(units.at(int(r->unit)));
    }
    if (const auto *r = std::get_if<Scheduled::EveryHour>(&rule))
        return QStringLiteral("hourly at %1").arg(r->minute);
    if (const auto *r = std::get_if<Scheduled::EveryDay>(&rule))
        return QStringLiteral("daily at ") + timeText(r->time);
    if (const auto *r = std::get_if<Scheduled::DayOfWeek>(&rule))
        return QStringLiteral("weekday %1 at ").arg(r->day) + timeText(r->time);
    if (const auto *r = std::get_if<Scheduled::DayOfMonth>(&rule))
        return QStringLiteral("monthday %1 at ").arg(r->day) + timeText(r->time);
    const auto &r = std::get<Scheduled::DayOfYear>(rule);
    return QStringLiteral("yearday %1/%2 at ").arg(r.month).arg(r.day) + timeText(r.time);
}

QStringList describe(const QList<ScheduledType> &rules) {
    QStringList texts;
    for (const ScheduledType &rule : rules)
        texts.append(describe(rule));
    return texts;
}

PlistValue entry(std::initializer_list<std::pair<QString, PlistValue>> values) {
    PlistDict dict;
    for (const auto &[key, value] : values)
        dict.insert(key, value);
    return PlistValue(dict);
}

PlistDict calendar(const PlistArray &entries) {
    return PlistDict{{Key::key, PlistValue(entries)}};
}

PlistArray weekdayEntries(std::initializer_list<int> days, int hour) {
    PlistArray entries;
    for (int day : days)
        entries.append(entry({{Key::Weekday, PlistValue(day)}, {Key::Hour, PlistValue(hour)}}));
    return entries;
}

RuleRow row(std::initializer_list<RuleValue> values) {
    return RuleRow{{}, QList<RuleValue>(values)};
}

RuleRow repeatRow(const QString &unit, const QString &text) {
    return row({Localize::repeatInterval(), unit, RuleTextField{text}});
}

// The StartCalendarInterval entries written for rows, as (key=value ...) texts.
QStringList writtenEntries(const RuleRows &rows) {
    PlistDict plist;
    writeSchedule(&rows, true, plist);
    QStringList texts;
    const PlistValue *value = plist.find(Key::key);
    if (!value)
        return texts;
    for (const PlistValue &element : *value->array()) {
        QStringList pairs;
        for (const auto &[key, number] : *element.dict())
            pairs.append(key + QLatin1Char('=') + QString::number(*number.toInteger()));
        texts.append(pairs.join(QLatin1Char(' ')));
    }
    return texts;
}

void useLocale(const QLocale &locale) {
    QLocale::setDefault(locale);
    Scheduled::resetWeekSetsForTesting();
}

} // namespace

class TestSchedule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { useLocale(QLocale::c()); }
    void cleanup() { useLocale(QLocale::c()); }

    void startIntervalReadsInTheLargestWholeUnit_data() {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("rule");
        QTest::newRow("two hours") << qint64(7200) << QStringLiteral("every 2 hours");
        QTest::newRow("90 seconds") << qint64(90) << QStringLiteral("every 90 seconds");
        QTest::newRow("5 seconds") << qint64(5) << QStringLiteral("every 5 seconds");
        QTest::newRow("zero is days") << qint64(0) << QStringLiteral("every 0 days");
        QTest::newRow("25 hours") << qint64(25 * 3600) << QStringLiteral("every 25 hours");
        QTest::newRow("two days") << qint64(2 * 86400) << QStringLiteral("every 2 days");
        QTest::newRow("negative minutes") << qint64(-120) << QStringLiteral("every -2 minutes");
        // Beyond the precision of a float the count stays exact.
        QTest::newRow("huge minutes")
            << qint64(60) * 16777217 << QStringLiteral("every 16777217 minutes");
        QTest::newRow("huge days")
            << qint64(86400) * 16777217 << QStringLiteral("every 16777217 days");
    }

    void startIntervalReadsInTheLargestWholeUnit() {
        QFETCH(qint64, seconds);
        QFETCH(QString, rule);
        const QList<ScheduledType> rules =
            readSchedule({{LaunchdKey::StartInterval, PlistValue(seconds)}});
        QCOMPARE(describe(rules), QStringList{rule});
    }

    void startIntervalOfAnotherTypeGivesNoRule() {
        QVERIFY(readSchedule({{LaunchdKey::StartInterval, PlistValue(60.0)}}).isEmpty());
        QVERIFY(readSchedule({{LaunchdKey::StartInterval, PlistValue(QStringLiteral("60"))}})
                    .isEmpty());
        QVERIFY(readSchedule({}).isEmpty());
    }

    void calendarEntriesAreNormalised_data() {
        QTest::addColumn<PlistValue>("entry");
        QTest::addColumn<QStringList>("rules");
        const auto i = [](int value) { return PlistValue(value); };
        QTest::newRow("hour and minute") << entry({{Key::Hour, i(3)}, {Key::Minute, i(15)}})
                                         << QStringList{QStringLiteral("daily at 03:15")};
        QTest::newRow("hour alone")
            << entry({{Key::Hour, i(3)}}) << QStringList{QStringLiteral("daily at 03:00")};
        QTest::newRow("hour of another type")
            << entry({{Key::Hour, PlistValue(QStringLiteral("x"))}})
            << QStringList{QStringLiteral("daily at 00:00")};
        QTest::newRow("minute alone")
            << entry({{Key::Minute, i(5)}}) << QStringList{QStringLiteral("hourly at 5")};
        QTest::newRow("minute out of range")
            << entry({{Key::Minute, i(60)}}) << QStringList{QStringLiteral("hourly at 0")};
        QTest::newRow("29 February")
            << entry({{Key::Month, i(2)}, {Key::Day, i(29)}, {Key::Hour, i(0)}})
            << QStringList{QStringLiteral("yearday 1/28 at 00:00")};
        QTest::newRow("month and day above range")
            << entry({{Key::Month, i(13)}, {Key::Day, i(40)}})
            << QStringList{QStringLiteral("yearday 11/30 at 00:00")};
        QTest::newRow("month and day below range")
            << entry({{Key::Month, i(-4)}, {Key::Day, i(0)}})
            << QStringList{QStringLiteral("yearday 0/0 at 00:00")};
        QTest::newRow("day 0 is the first")
            << entry({{Key::Day, i(0)}}) << QStringList{QStringLiteral("monthday 0 at 00:00")};
        QTest::newRow("day with out-of-range time")
            << entry({{Key::Day, i(31)}, {Key::Hour, i(24)}, {Key::Minute, i(-1)}})
            << QStringList{QStringLiteral("monthday 30 at 00:00")};
        QTest::newRow("month without day loses the month")
            << entry({{Key::Month, i(2)}, {Key::Hour, i(4)}})
            << QStringList{QStringLiteral("daily at 04:00")};
        QTest::newRow("weekday without time")
            << entry({{Key::Weekday, i(1)}}) << QStringList{QStringLiteral("weekday 1 at 00:00")};
        QTest::newRow("weekday 7 is Sunday") << entry({{Key::Weekday, i(7)}, {Key::Hour, i(8)}})
                                             << QStringList{QStringLiteral("weekday 0 at 08:00")};
        QTest::newRow("negative weekday is Sunday")
            << entry({{Key::Weekday, i(-1)}}) << QStringList{QStringLiteral("weekday 0 at 00:00")};
        QTest::newRow("weekday above 7 is Sunday")
            << entry({{Key::Weekday, i(9)}}) << QStringList{QStringLiteral("weekday 0 at 00:00")};
        QTest::newRow("real weekday is no weekday")
            << entry({{Key::Weekday, PlistValue(1.0)}}) << QStringList{};
        QTest::newRow("month alone") << entry({{Key::Month, i(2)}}) << QStringList{};
        QTest::newRow("empty entry") << entry({}) << QStringList{};
        QTest::newRow("other keys only")
            << entry({{QStringLiteral("Second"), i(3)}}) << QStringList{};
    }

    void calendarEntriesAreNormalised() {
        QFETCH(PlistValue, entry);
        QFETCH(QStringList, rules);
        QCOMPARE(describe(readSchedule(calendar({entry}))), rules);
        // A single dictionary reads like an array of one.
        QCOMPARE(describe(readSchedule({{Key::key, entry}})), rules);
    }

    void calendarEntriesTakeTheDictionariesOfTheKey() {
        const PlistValue daily = entry({{Key::Hour, PlistValue(3)}});
        QCOMPARE(Scheduled::calendarEntries({{Key::key, daily}}).size(), 1);
        QCOMPARE(Scheduled::calendarEntries(calendar({daily, daily})).size(), 2);
        QVERIFY(
            Scheduled::calendarEntries({{Key::key, PlistValue(QStringLiteral("3"))}}).isEmpty());
        QVERIFY(Scheduled::calendarEntries({}).isEmpty());
        // One malformed element does not cost the rest of the schedule.
        QCOMPARE(Scheduled::calendarEntries(calendar({PlistValue(7), daily})).size(), 1);
    }

    void rulesFollowTheirDisplayOrder() {
        PlistArray entries{entry({{Key::Weekday, PlistValue(3)}, {Key::Hour, PlistValue(8)}}),
                           entry({{Key::Day, PlistValue(5)}})};
        entries += weekdayEntries({1, 2, 3, 4, 5}, 9);
        entries += PlistArray{entry({{Key::Hour, PlistValue(3)}})};
        entries += weekdayEntries({0, 6}, 9);
        entries += PlistArray{entry({{Key::Minute, PlistValue(10)}})};
        PlistDict plist = calendar(entries);
        plist.insert(LaunchdKey::StartInterval, PlistValue(60));

        const QStringList expected{
            QStringLiteral("every 1 minutes"),    QStringLiteral("monthday 4 at 00:00"),
            QStringLiteral("daily at 03:00"),     QStringLiteral("hourly at 10"),
            QStringLiteral("weekday 7 at 09:00"), QStringLiteral("weekday 8 at 09:00"),
            QStringLiteral("weekday 3 at 08:00"),
        };
        QCOMPARE(describe(readSchedule(plist)), expected);
    }

    void weekdaysAtOneTimeFoldIntoGroups_data() {
        QTest::addColumn<PlistArray>("entries");
        QTest::addColumn<QStringList>("rules");
        QTest::newRow("Monday to Friday") << weekdayEntries({1, 2, 3, 4, 5}, 9)
                                          << QStringList{QStringLiteral("weekday 7 at 09:00")};
        QTest::newRow("whole week") << weekdayEntries({1, 2, 3, 4, 5, 0, 6}, 9)
                                    << QStringList{QStringLiteral("weekday 7 at 09:00"),
                                                   QStringLiteral("weekday 8 at 09:00")};
        QTest::newRow("weekend first")
            << weekdayEntries({6, 0}, 9) + weekdayEntries({1, 2, 3, 4, 5}, 9)
            << QStringList{QStringLiteral("weekday 7 at 09:00"),
                           QStringLiteral("weekday 8 at 09:00")};
        QTest::newRow("Sunday as 7 counts")
            << weekdayEntries({6, 7}, 9) << QStringList{QStringLiteral("weekday 8 at 09:00")};
        QTest::newRow("different times stay single")
            << weekdayEntries({1}, 9) + weekdayEntries({2}, 10)
            << QStringList{QStringLiteral("weekday 1 at 09:00"),
                           QStringLiteral("weekday 2 at 10:00")};
        QTest::newRow("incomplete group stays single")
            << weekdayEntries({1, 2, 3, 4}, 9)
            << QStringList{
                   QStringLiteral("weekday 1 at 09:00"), QStringLiteral("weekday 2 at 09:00"),
                   QStringLiteral("weekday 3 at 09:00"), QStringLiteral("weekday 4 at 09:00")};
        QTest::newRow("groups at two times, singles after")
            << weekdayEntries({3}, 8) + weekdayEntries({1, 2, 3, 4, 5}, 10) +
                   weekdayEntries({6, 0}, 7) + weekdayEntries({1, 2, 3, 4, 5}, 7)
            << QStringList{
                   QStringLiteral("weekday 7 at 10:00"), QStringLiteral("weekday 7 at 07:00"),
                   QStringLiteral("weekday 8 at 07:00"), QStringLiteral("weekday 3 at 08:00")};
        QTest::newRow("duplicates fold away") << weekdayEntries({1, 1, 2, 3, 4, 5}, 9)
                                              << QStringList{QStringLiteral("weekday 7 at 09:00")};
    }

    void weekdaysAtOneTimeFoldIntoGroups() {
        QFETCH(PlistArray, entries);
        QFETCH(QStringList, rules);
        QCOMPARE(Scheduled::weekendIndexSet(), (QList<qint64>{0, 6}));
        QCOMPARE(describe(readSchedule(calendar(entries))), rules);
    }

    void weekSetsFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QList<qint64>>("weekend");
        QTest::addColumn<QList<qint64>>("weekday");
        QTest::newRow("C") << QLocale::c() << QList<qint64>{0, 6} << QList<qint64>{1, 2, 3, 4, 5};
        QTest::newRow("American English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                          << QList<qint64>{0, 6} << QList<qint64>{1, 2, 3, 4, 5};
        QTest::newRow("Hebrew in Israel") << QLocale(QLocale::Hebrew, QLocale::Israel)
                                          << QList<qint64>{5, 6} << QList<qint64>{0, 1, 2, 3, 4};
        QTest::newRow("Hindi in India") << QLocale(QLocale::Hindi, QLocale::India)
                                        << QList<qint64>{0} << QList<qint64>{1, 2, 3, 4, 5, 6};
    }

    void weekSetsFollowTheLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QList<qint64>, weekend);
        QFETCH(QList<qint64>, weekday);
        useLocale(locale);
        QCOMPARE(Scheduled::weekendIndexSet(), weekend);
        QCOMPARE(Scheduled::weekdayIndexSet(), weekday);
        // Kept for the process: a later change of the locale is not seen without a reset.
        QLocale::setDefault(QLocale::c());
        QCOMPARE(Scheduled::weekendIndexSet(), weekend);
    }

    void groupsFollowAFridaySaturdayWeekend() {
        useLocale(QLocale(QLocale::Hebrew, QLocale::Israel));
        QCOMPARE(describe(readSchedule(calendar(weekdayEntries({0, 1, 2, 3, 4, 5, 6}, 9)))),
                 (QStringList{QStringLiteral("weekday 7 at 09:00"),
                              QStringLiteral("weekday 8 at 09:00")}));
        // Monday to Friday is no group where Friday belongs to the weekend.
        QCOMPARE(readSchedule(calendar(weekdayEntries({1, 2, 3, 4, 5}, 9))).size(), 5);

        const RuleRows rows{row({Localize::dayOfWeek(), Localize::weekdays(), QTime(9, 0)}),
                            row({Localize::dayOfWeek(), Localize::weekends(), QTime(9, 0)})};
        QCOMPARE(writtenEntries(rows), (QStringList{QStringLiteral("Minute=0 Hour=9 Weekday=0"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=1"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=2"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=3"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=4"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=5"),
                                                    QStringLiteral("Minute=0 Hour=9 Weekday=6")}));
    }

    void unitsAreNamedByTheirTitles() {
        QCOMPARE(Scheduled::unitNamed(Localize::Lowercase::minutes()), Unit::minutes);
        QCOMPARE(Scheduled::unitNamed(Localize::Lowercase::hours()), Unit::hours);
        QCOMPARE(Scheduled::unitNamed(Localize::Lowercase::days()), Unit::days);
        QCOMPARE(Scheduled::unitNamed(Localize::Lowercase::seconds()), Unit::seconds);
        QCOMPARE(Scheduled::unitNamed(QStringLiteral("fortnights")), Unit::seconds);
        for (Unit unit : {Unit::seconds, Unit::minutes, Unit::hours, Unit::days})
            QCOMPARE(Scheduled::unitNamed(Scheduled::unitTitle(unit)), unit);
        QCOMPARE(Scheduled::kindFromRaw(5), Scheduled::Kind::dayOfYear);
        QVERIFY(!Scheduled::kindFromRaw(6));
        QVERIFY(!Scheduled::kindFromRaw(-1));
    }

    void secondsForIntervalNeverGoBelowTen_data() {
        QTest::addColumn<qint64>("interval");
        QTest::addColumn<Unit>("unit");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("two hours") << qint64(2) << Unit::hours << qint64(7200);
        QTest::newRow("five seconds") << qint64(5) << Unit::seconds << qint64(10);
        QTest::newRow("zero days") << qint64(0) << Unit::days << qint64(10);
        QTest::newRow("negative") << qint64(-3) << Unit::minutes << qint64(10);
        QTest::newRow("overflow saturates") << std::numeric_limits<qint64>::max() / 1000
                                            << Unit::days << std::numeric_limits<qint64>::max();
        QTest::newRow("negative overflow")
            << std::numeric_limits<qint64>::min() / 1000 << Unit::days << qint64(10);
    }

    void secondsForIntervalNeverGoBelowTen() {
        QFETCH(qint64, interval);
        QFETCH(Unit, unit);
        QFETCH(qint64, seconds);
        QCOMPARE(Scheduled::secondsForInterval(interval, unit), seconds);
    }

    void switchedOffOrWithoutEditorTheKeysGo() {
        const RuleRows rows{repeatRow(Localize::Lowercase::hours(), QStringLiteral("1")),
                            row({Localize::everyDay(), QTime(3, 0)})};
        const PlistDict original{{LaunchdKey::StartInterval, PlistValue(60)},
                                 {Key::key, entry({{Key::Hour, PlistValue(1)}})},
                                 {LaunchdKey::Label, PlistValue(QStringLiteral("job"))}};
        PlistDict off = original;
        writeSchedule(&rows, false, off);
        QCOMPARE(off, (PlistDict{{LaunchdKey::Label, PlistValue(QStringLiteral("job"))}}));
        PlistDict noEditor = original;
        writeSchedule(nullptr, true, noEditor);
        QCOMPARE(noEditor, off);
        PlistDict on = original;
        writeSchedule(&rows, true, on);
        QCOMPARE(on.value(LaunchdKey::StartInterval), PlistValue(3600));
        QCOMPARE(writtenEntries(rows), QStringList{QStringLiteral("Minute=0 Hour=3")});
    }

    void repeatIntervalRowsGiveStartInterval_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<PlistValue>("startInterval");
        const QString seconds = Localize::Lowercase::seconds();
        QTest::newRow("two hours")
            << Localize::Lowercase::hours() << QStringLiteral("2") << PlistValue(7200);
        QTest::newRow("below ten") << seconds << QStringLiteral("5") << PlistValue(10);
        QTest::newRow("zero days")
            << Localize::Lowercase::days() << QStringLiteral("0") << PlistValue(10);
        QTest::newRow("negative") << seconds << QStringLiteral("-30") << PlistValue(10);
        QTest::newRow("grouping separator")
            << Localize::Lowercase::minutes() << QStringLiteral("1,000") << PlistValue(60000);
        QTest::newRow("integer part") << seconds << QStringLiteral("12.7") << PlistValue(12);
        QTest::newRow("unknown unit is seconds")
            << QStringLiteral("ages") << QStringLiteral("20") << PlistValue(20);
        QTest::newRow("not a number") << seconds << QStringLiteral("abc") << PlistValue();
        QTest::newRow("empty field") << seconds << QString() << PlistValue();
        QTest::newRow("beyond 64 bits") << seconds << QStringLiteral("1e30") << PlistValue();
        QTest::newRow("infinite") << seconds << QStringLiteral("inf") << PlistValue();
    }

    void repeatIntervalRowsGiveStartInterval() {
        QFETCH(QString, unit);
        QFETCH(QString, text);
        QFETCH(PlistValue, startInterval);
        const RuleRows rows{repeatRow(unit, text)};
        PlistDict plist{{LaunchdKey::StartInterval, PlistValue(99)}};
        writeSchedule(&rows, true, plist);
        QCOMPARE(plist.value(LaunchdKey::StartInterval), startInterval);
        QVERIFY(!plist.contains(Key::key));
    }

    void onlyTheFirstUsableRepeatIntervalCounts() {
        const RuleRows rows{repeatRow(Localize::Lowercase::seconds(), QString()),
                            repeatRow(Localize::Lowercase::minutes(), QStringLiteral("2")),
                            repeatRow(Localize::Lowercase::hours(), QStringLiteral("1"))};
        PlistDict plist;
        writeSchedule(&rows, true, plist);
        QCOMPARE(plist.value(LaunchdKey::StartInterval), PlistValue(120));
    }

    void calendarRowsBecomeEntriesInRowOrder() {
        const QStringList weekdays = Date::weekdays();
        const QStringList months = Date::months();
        const RuleRows rows{
            row({Localize::everyDay(), QTime(3, 15)}),
            row({Localize::everyHour(), RuleTextField{QStringLiteral("75")},
                 Localize::Lowercase::minute()}),
            row({Localize::dayOfWeek(), weekdays.at(1), QTime(9, 30)}),
            row({Localize::dayOfWeek(), Localize::weekdays(), QTime(8, 0)}),
            row({Localize::dayOfWeek(), Localize::weekends(), QTime(8, 0)}),
            row({Localize::dayOfWeek(), QStringLiteral("Caturday"), QTime(1, 2)}),
            row({Localize::dayOfMonth(), Localize::integer(15), QTime(23, 59)}),
            row({Localize::dayOfYear(), months.at(1), Localize::integer(29), QTime(0, 0)}),
            row({Localize::dayOfYear(), QStringLiteral("Smarch"), Localize::integer(3),
                 QTime(0, 0)}),
        };
        const QStringList expected{
            QStringLiteral("Minute=15 Hour=3"),
            QStringLiteral("Minute=75"), // typed, not range-checked
            QStringLiteral("Minute=30 Hour=9 Weekday=1"),
            QStringLiteral("Minute=0 Hour=8 Weekday=1"),
            QStringLiteral("Minute=0 Hour=8 Weekday=2"),
            QStringLiteral("Minute=0 Hour=8 Weekday=3"),
            QStringLiteral("Minute=0 Hour=8 Weekday=4"),
            QStringLiteral("Minute=0 Hour=8 Weekday=5"),
            QStringLiteral("Minute=0 Hour=8 Weekday=0"),
            QStringLiteral("Minute=0 Hour=8 Weekday=6"),
            QStringLiteral("Minute=2 Hour=1 Weekday=0"),
            QStringLiteral("Minute=59 Hour=23 Day=15"),
            QStringLiteral("Minute=0 Hour=0 Day=29 Month=2"),
            QStringLiteral("Minute=0 Hour=0 Day=3 Month=1"),
        };
        QCOMPARE(writtenEntries(rows), expected);
    }

    void oneEntryIsStillAnArray() {
        const RuleRows rows{row({Localize::everyDay(), QTime(3, 15)})};
        PlistDict plist;
        writeSchedule(&rows, true, plist);
        const PlistValue *value = plist.find(Key::key);
        QVERIFY(value && value->isArray());
        QCOMPARE(value->array()->size(), 1);
    }

    void rowsThatCannotBeReadAddNothing() {
        const RuleRows rows{
            RuleRow{},
            row({RuleTextField{Localize::everyDay()}, QTime(3, 0)}),
            row({QStringLiteral("Every blue moon"), QTime(3, 0)}),
            row({Localize::everyDay(), RuleTextField{QStringLiteral("03:00")}}),
            row({Localize::everyDay(), QTime()}),
            row({Localize::everyDay()}),
            row({Localize::everyHour(), QStringLiteral("5")}),
            row({Localize::everyHour(), RuleTextField{QStringLiteral("five")}}),
            row({Localize::dayOfMonth(), QStringLiteral("first"), QTime(3, 0)}),
            row({Localize::dayOfYear(), Date::months().at(0), QTime(3, 0)}),
            row({Localize::repeatInterval(), RuleTextField{QStringLiteral("5")}}),
        };
        PlistDict plist{{Key::key, entry({{Key::Hour, PlistValue(1)}})},
                        {LaunchdKey::StartInterval, PlistValue(300)}};
        writeSchedule(&rows, true, plist);
        QVERIFY(plist.isEmpty());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestSchedule)
#include "test_schedule.moc"

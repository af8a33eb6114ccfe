#include "common/testmain.h"
#include "model/schedulereader.h"
#include "model/schedulewriter.h"
#include "schedule/scheduledhelper.h"
#include "support/dates.h"
#include "support/localize.h"
#include "support/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTest>

using namespace Vandra;

using namespace Scheduled;

Q_DECLARE_METATYPE(ScheduledType)

namespace {

const QTime quarterPast(7, 15);

// The titles of a row, which is where a language could make the writer misread a row.
QStringList titlesOf(const RuleRow &row) {
    QStringList titles;
    for (const RuleValue &value : row.values)
        if (const auto *title = std::get_if<QString>(&value))
            titles.append(*title);
    return titles;
}

} // namespace

// The schedule under a German user: the rows the rule editor shows carry German titles, and
// the writer must still read every one of them back into the same rule.
class TestGermanSchedule : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        // Before the criteria tree is built: it takes its titles once, on first use.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(Translations::install(*QCoreApplication::instance()));
    }

    void germanTranslationIsFoundAndUsed() {
        QCOMPARE(Localize::cancel(), QStringLiteral("Abbrechen"));
        QCOMPARE(Localize::dayOfWeek(), QStringLiteral("Wochentag"));
        QCOMPARE(Localize::text("Every day"), QStringLiteral("Täglich"));
    }

    void weekdayAndMonthTitlesComeFromTheLocale() {
        QCOMPARE(Date::weekdays().first(), QStringLiteral("Sonntag"));
        QCOMPARE(Date::weekdays().at(1), QStringLiteral("Montag"));
        QCOMPARE(Date::months().at(2), QStringLiteral("März"));
        const ScheduledHelper &helper = ScheduledHelper::shared();
        const std::optional<RuleRow> monday =
            helper.rowForRule(DayOfWeek{.day = 1, .time = quarterPast});
        QVERIFY(monday);
        QVERIFY(titlesOf(*monday).contains(QStringLiteral("Montag")));
        const std::optional<RuleRow> march =
            helper.rowForRule(DayOfYear{.month = 2, .day = 4, .time = quarterPast});
        QVERIFY(march);
        QVERIFY(titlesOf(*march).contains(QStringLiteral("März")));
    }

    void everyRuleKindRoundTrips_data() {
        QTest::addColumn<ScheduledType>("rule");
        const QTime time = quarterPast;
        QTest::newRow("every 30 seconds") << ScheduledType(RepeatInterval{.interval = 30});
        QTest::newRow("every 5 minutes")
            << ScheduledType(RepeatInterval{.interval = 5, .unit = RepeatInterval::Unit::minutes});
        QTest::newRow("every 2 hours")
            << ScheduledType(RepeatInterval{.interval = 2, .unit = RepeatInterval::Unit::hours});
        QTest::newRow("every 3 days")
            << ScheduledType(RepeatInterval{.interval = 3, .unit = RepeatInterval::Unit::days});
        QTest::newRow("every hour") << ScheduledType(EveryHour{.minute = 45});
        QTest::newRow("every day") << ScheduledType(EveryDay{.time = time});
        for (qint64 day = 0; day < 7; ++day)
            QTest::addRow("weekday %lld", day)
                << ScheduledType(DayOfWeek{.day = day, .time = time});
        QTest::newRow("weekdays") << ScheduledType(
            DayOfWeek{.day = DayOfWeek::weekday, .time = time});
        QTest::newRow("weekends") << ScheduledType(
            DayOfWeek{.day = DayOfWeek::weekend, .time = time});
        QTest::newRow("day of month") << ScheduledType(DayOfMonth{.day = 14, .time = time});
        for (qint64 month = 0; month < 12; ++month)
            QTest::addRow("month %lld", month)
                << ScheduledType(DayOfYear{.month = month, .day = 27, .time = time});
    }

    void everyRuleKindRoundTrips() {
        QFETCH(ScheduledType, rule);
        const ScheduledHelper &helper = ScheduledHelper::shared();
        const std::optional<RuleRow> row = helper.rowForRule(rule);
        QVERIFY(row);

        PlistDict plist;
        const RuleRows rows{*row};
        writeSchedule(&rows, true, plist);
        const QList<ScheduledType> read = readSchedule(plist);
        QCOMPARE(read.size(), 1);
        QVERIFY(read.first() == rule);
        QCOMPARE(helper.rowForRule(read.first()), row);
    }
};

VANDRA_GUILESS_TEST_MAIN(TestGermanSchedule)
#include "test_germanschedule.moc"

#include "common/testmain.h"
#include "common/testroot.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/launchdkey.h"
#include "model/schedulereader.h"
#include "model/schedulerules.h"
#include "model/schedulewriter.h"
#include "schedule/datepickercriterion.h"
#include "schedule/everyhourcriterion.h"
#include "schedule/repeatintervalcriterion.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"
#include "support/dates.h"
#include "support/localize.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

namespace Key = LaunchdKey::StartCalendarInterval;

namespace {

// The titles of a row's values, with controls as "[text]" and "@hh:mm".
QStringList textsOf(const RuleRow &row) {
    QStringList texts;
    for (const RuleValue &value : row.values) {
        if (const auto *title = std::get_if<QString>(&value))
            texts.append(*title);
        else if (const auto *field = std::get_if<RuleTextField>(&value))
            texts.append(QLatin1Char('[') + field->text + QLatin1Char(']'));
        else
            texts.append(QLatin1Char('@') +
                         std::get<QTime>(value).toString(QStringLiteral("HH:mm")));
    }
    return texts;
}

JobPtr currentJobWith(const QList<ScheduledType> &rules) {
    auto job = std::make_shared<Job>();
    job->kind = Kind::userAgent;
    job->plist = PlistDict{{LaunchdKey::Label, PlistValue(QStringLiteral("job"))}};
    if (!rules.isEmpty())
        job->scheduled = rules;
    JobList::shared().setCurrentJob(job);
    Bindings::shared().setEdited(false);
    return job;
}

PlistValue entry(std::initializer_list<std::pair<QString, int>> values) {
    PlistDict dict;
    for (const auto &[key, value] : values)
        dict.insert(key, PlistValue(value));
    return PlistValue(dict);
}

} // namespace

class TestRuleEditor : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestRoot> m_root;

private Q_SLOTS:
    void init() {
        QLocale::setDefault(QLocale::c());
        Scheduled::resetWeekSetsForTesting();
        m_root = std::make_unique<TestRoot>();
    }

    void cleanup() {
        JobList::shared().reset();
        m_root.reset();
    }

    void criteriaTreeHasOneRootPerKind() {
        const ScheduledHelper &helper = ScheduledHelper::shared();
        const QStringList roots{Localize::repeatInterval(), Localize::everyHour(),
                                Localize::everyDay(),       Localize::dayOfWeek(),
                                Localize::dayOfMonth(),     Localize::dayOfYear()};
        QCOMPARE(helper.numberOfChildren(nullptr), roots.size());
        for (int k = 0; k < roots.size(); ++k)
            QCOMPARE(std::get<QString>(helper.displayValue(*helper.child(k, nullptr))),
                     roots.at(k));
        QVERIFY(!helper.child(6, nullptr));
        QVERIFY(!helper.child(-1, nullptr));
    }

    void criteriaTreeLevelsMatchRuleValues() {
        const ScheduledHelper &helper = ScheduledHelper::shared();
        const auto titlesUnder = [&](const Criterion *parent) {
            QStringList titles;
            for (qsizetype i = 0; i < helper.numberOfChildren(parent); ++i)
                titles.append(std::get<QString>(helper.displayValue(*helper.child(i, parent))));
            return titles;
        };
        const CriterionPtr repeat = helper.child(0, nullptr);
        QCOMPARE(titlesUnder(repeat.get()),
                 (QStringList{Localize::Lowercase::seconds(), Localize::Lowercase::minutes(),
                              Localize::Lowercase::hours(), Localize::Lowercase::days()}));
        for (const CriterionPtr &unit : repeat->children()) {
            QCOMPARE(unit->childCount(), 1);
            QVERIFY(dynamic_cast<RepeatIntervalCriterion *>(unit->child(0).get()));
        }

        const CriterionPtr everyHour = helper.child(1, nullptr)->child(0);
        QVERIFY(dynamic_cast<EveryHourCriterion *>(everyHour.get()));
        QCOMPARE(everyHour->name, QString());
        QCOMPARE(titlesUnder(everyHour.get()), QStringList{Localize::Lowercase::minute()});
        QVERIFY(dynamic_cast<DatePickerCriterion *>(helper.child(2, nullptr)->child(0).get()));

        QStringList days = Date::weekdays();
        days << Localize::weekdays() << Localize::weekends();
        QCOMPARE(titlesUnder(helper.child(3, nullptr).get()), days);

        QStringList numbers;
        for (int day = 1; day <= 31; ++day)
            numbers.append(Localize::integer(day));
        QCOMPARE(titlesUnder(helper.child(4, nullptr).get()), numbers);
        const CriterionPtr dayOfYear = helper.child(5, nullptr);
        QCOMPARE(titlesUnder(dayOfYear.get()), Date::months());
        for (const CriterionPtr &month : dayOfYear->children()) {
            QCOMPARE(titlesUnder(month.get()), numbers);
            for (const CriterionPtr &day : month->children())
                QVERIFY(dynamic_cast<DatePickerCriterion *>(day->child(0).get()));
        }
    }

    void defaultRowsAreRecordedOncePerKind() {
        JobPtr job = currentJobWith({});
        RuleEditorModel editor;
        editor.recordDefaultRows();
        const QList<QList<int>> paths{{0, 0, 0}, {1, 0, 0}, {2, 0},
                                      {3, 0, 0}, {4, 0, 0}, {5, 0, 0, 0}};
        QCOMPARE(editor.recordedPaths(), paths);
        QCOMPARE(editor.rowCount(), 6);
        QCOMPARE(textsOf(editor.rows().at(0)),
                 (QStringList{Localize::repeatInterval(), Localize::Lowercase::seconds(),
                              QStringLiteral("[]")}));
        QCOMPARE(textsOf(editor.rows().at(5)),
                 (QStringList{Localize::dayOfYear(), Date::months().at(0), Localize::integer(1),
                              QStringLiteral("@00:00")}));
        // Recording is the program's doing, not an edit.
        QVERIFY(!job->changes().contains(Change::time));
        QVERIFY(!Bindings::shared().isEdited());
    }

    void fillingShowsEachRuleAsARow_data() {
        QTest::addColumn<ScheduledType>("rule");
        QTest::addColumn<QList<int>>("path");
        QTest::addColumn<QStringList>("values");
        const QTime nine(9, 0);
        QTest::newRow("repeat interval")
            << ScheduledType(Scheduled::RepeatInterval{Scheduled::Kind::repeatInterval, 2,
                                                       Scheduled::RepeatInterval::Unit::hours})
            << QList<int>{0, 2, 0}
            << QStringList{Localize::repeatInterval(), Localize::Lowercase::hours(),
                           QStringLiteral("[2]")};
        QTest::newRow("every hour")
            << ScheduledType(Scheduled::EveryHour{Scheduled::Kind::everyHour, 5})
            << QList<int>{1, 0, 0}
            << QStringList{Localize::everyHour(), QStringLiteral("[5]"),
                           Localize::Lowercase::minute()};
        QTest::newRow("every day")
            << ScheduledType(Scheduled::EveryDay{Scheduled::Kind::everyDay, QTime(3, 15)})
            << QList<int>{2, 0} << QStringList{Localize::everyDay(), QStringLiteral("@03:15")};
        QTest::newRow("Saturday") << ScheduledType(
                                         Scheduled::DayOfWeek{Scheduled::Kind::dayOfWeek, 6, nine})
                                  << QList<int>{3, 6, 0}
                                  << QStringList{Localize::dayOfWeek(), Date::weekdays().at(6),
                                                 QStringLiteral("@09:00")};
        QTest::newRow("weekdays") << ScheduledType(
                                         Scheduled::DayOfWeek{Scheduled::Kind::dayOfWeek, 7, nine})
                                  << QList<int>{3, 7, 0}
                                  << QStringList{Localize::dayOfWeek(), Localize::weekdays(),
                                                 QStringLiteral("@09:00")};
        QTest::newRow("weekends") << ScheduledType(
                                         Scheduled::DayOfWeek{Scheduled::Kind::dayOfWeek, 8, nine})
                                  << QList<int>{3, 8, 0}
                                  << QStringList{Localize::dayOfWeek(), Localize::weekends(),
                                                 QStringLiteral("@09:00")};
        QTest::newRow("31st") << ScheduledType(
                                     Scheduled::DayOfMonth{Scheduled::Kind::dayOfMonth, 30, nine})
                              << QList<int>{4, 30, 0}
                              << QStringList{Localize::dayOfMonth(), Localize::integer(31),
                                             QStringLiteral("@09:00")};
        QTest::newRow("29 February")
            << ScheduledType(Scheduled::DayOfYear{Scheduled::Kind::dayOfYear, 1, 28, QTime(0, 0)})
            << QList<int>{5, 1, 28, 0}
            << QStringList{Localize::dayOfYear(), Date::months().at(1), Localize::integer(29),
                           QStringLiteral("@00:00")};
    }

    void fillingShowsEachRuleAsARow() {
        QFETCH(ScheduledType, rule);
        QFETCH(QList<int>, path);
        QFETCH(QStringList, values);
        currentJobWith({rule});
        RuleEditorModel editor;
        QAbstractItemModelTester tester(&editor);
        ScheduledHelper::shared().fillRuleEditor(editor);
        QCOMPARE(editor.rowCount(), 1);
        QCOMPARE(editor.rows().first().path, path);
        QCOMPARE(textsOf(editor.rows().first()), values);
        QVERIFY(!Bindings::shared().isEdited());
    }

    void fillingReplacesRowsAndEmptiesWithoutRules() {
        currentJobWith({Scheduled::EveryDay{Scheduled::Kind::everyDay, QTime(1, 0)},
                        Scheduled::EveryHour{Scheduled::Kind::everyHour, 7}});
        RuleEditorModel editor;
        QAbstractItemModelTester tester(&editor);
        editor.appendRow(*ScheduledHelper::shared().rowForPath({4, 3, 0}));
        ScheduledHelper::shared().fillRuleEditor(editor);
        QCOMPARE(editor.rowCount(), 2);
        QCOMPARE(editor.rows().at(1).path, (QList<int>{1, 0, 0}));

        currentJobWith({});
        ScheduledHelper::shared().fillRuleEditor(editor);
        QCOMPARE(editor.rowCount(), 0);
        editor.appendRow(*ScheduledHelper::shared().rowForPath({2, 0}));
        JobList::shared().setCurrentJob(nullptr);
        ScheduledHelper::shared().fillRuleEditor(editor);
        QCOMPARE(editor.rowCount(), 0);
    }

    void rulesOutsideTheTreeAreNotShown() {
        const ScheduledHelper &helper = ScheduledHelper::shared();
        QVERIFY(
            !helper.rowForRule(Scheduled::DayOfWeek{Scheduled::Kind::dayOfWeek, 9, QTime(1, 0)}));
        QVERIFY(!helper.rowForRule(
            Scheduled::DayOfMonth{Scheduled::Kind::dayOfMonth, -1, QTime(1, 0)}));
        QVERIFY(!helper.rowForRule(
            Scheduled::DayOfYear{Scheduled::Kind::dayOfYear, 12, 0, QTime(1, 0)}));
        QVERIFY(!helper.rowForPath({3, 0}));    // stops before the time picker
        QVERIFY(!helper.rowForPath({3, 0, 1})); // leaves the tree
    }

    void readFillAndWriteGiveTheNormalisedFile_data() {
        QTest::addColumn<PlistDict>("file");
        QTest::addColumn<PlistDict>("written");
        const auto interval = [](qint64 seconds) {
            return PlistDict{{LaunchdKey::StartInterval, PlistValue(seconds)}};
        };
        const auto calendar = [](const PlistArray &entries) {
            return PlistDict{{Key::key, PlistValue(entries)}};
        };
        QTest::newRow("two hours") << interval(7200) << interval(7200);
        QTest::newRow("90 seconds") << interval(90) << interval(90);
        QTest::newRow("5 seconds") << interval(5) << interval(10);
        QTest::newRow("zero") << interval(0) << interval(10);
        QTest::newRow("negative") << interval(-60) << interval(10);
        QTest::newRow("one dictionary")
            << PlistDict{{Key::key, entry({{Key::Hour, 3}, {Key::Minute, 15}})}}
            << calendar({entry({{Key::Minute, 15}, {Key::Hour, 3}})});
        QTest::newRow("29 February")
            << calendar({entry({{Key::Month, 2}, {Key::Day, 29}, {Key::Hour, 0}})})
            << calendar(
                   {entry({{Key::Minute, 0}, {Key::Hour, 0}, {Key::Day, 29}, {Key::Month, 2}})});
        QTest::newRow("first of the month")
            << calendar({entry({{Key::Day, 0}})})
            << calendar({entry({{Key::Minute, 0}, {Key::Hour, 0}, {Key::Day, 1}})});
        PlistArray week;
        PlistArray expanded;
        for (int day : {0, 1, 2, 3, 4, 5, 6})
            week.append(entry({{Key::Weekday, day}, {Key::Hour, 9}}));
        for (int day : {1, 2, 3, 4, 5, 0, 6})
            expanded.append(entry({{Key::Minute, 0}, {Key::Hour, 9}, {Key::Weekday, day}}));
        QTest::newRow("whole week") << calendar(week) << calendar(expanded);
        PlistDict both = calendar({entry({{Key::Hour, 1}})});
        both.insert(LaunchdKey::StartInterval, PlistValue(600));
        PlistDict bothWritten = calendar({entry({{Key::Minute, 0}, {Key::Hour, 1}})});
        bothWritten.insert(LaunchdKey::StartInterval, PlistValue(600));
        QTest::newRow("both keys") << both << bothWritten;
        QTest::newRow("nothing usable") << calendar({entry({})}) << PlistDict();
    }

    void readFillAndWriteGiveTheNormalisedFile() {
        QFETCH(PlistDict, file);
        QFETCH(PlistDict, written);
        currentJobWith(readSchedule(file));
        RuleEditorModel editor;
        ScheduledHelper::shared().fillRuleEditor(editor);
        PlistDict plist = file;
        writeSchedule(&editor.rows(), true, plist);
        QCOMPARE(plist, written);
    }

    void userEditsMarkTheCurrentJob() {
        JobPtr job = currentJobWith({Scheduled::EveryDay{Scheduled::Kind::everyDay, QTime(1, 0)},
                                     Scheduled::EveryHour{Scheduled::Kind::everyHour, 7}});
        RuleEditorModel editor;
        QAbstractItemModelTester tester(&editor);
        ScheduledHelper::shared().fillRuleEditor(editor);
        QVERIFY(!job->isChangesSet() || job->changes().isEmpty());

        const auto expectMarked = [&](const char *what) {
            QVERIFY2(job->changes().contains(Change::time), what);
            QVERIFY2(Bindings::shared().isEdited(), what);
            job->changes().clear();
            Bindings::shared().setEdited(false);
        };
        QVERIFY(editor.setValue(0, 1, QTime(2, 30)));
        expectMarked("picking a time");
        QVERIFY(editor.setValue(1, 1, RuleTextField{QStringLiteral("8")}));
        expectMarked("typing in a field");
        QVERIFY(editor.addRow(Scheduled::Kind::dayOfMonth));
        expectMarked("adding a row");
        QVERIFY(editor.insertRows(0, 1));
        expectMarked("inserting a row");
        QVERIFY(editor.removeRows(0, 1));
        expectMarked("removing a row");
        QVERIFY(editor.chooseCriterion(2, 1, 14));
        expectMarked("choosing a criterion");

        QCOMPARE(textsOf(editor.rows().at(0)),
                 (QStringList{Localize::everyDay(), QStringLiteral("@02:30")}));
        QCOMPARE(textsOf(editor.rows().at(1)),
                 (QStringList{Localize::everyHour(), QStringLiteral("[8]"),
                              Localize::Lowercase::minute()}));
        QCOMPARE(editor.rows().at(2).path, (QList<int>{4, 14, 0}));
    }

    void editsMarkOnlyTheCurrentJob() {
        auto other = std::make_shared<Job>();
        JobPtr current = currentJobWith({});
        RuleEditorModel editor;
        QVERIFY(editor.addRow(Scheduled::Kind::everyDay));
        QVERIFY(current->changes().contains(Change::time));
        QVERIFY(!other->isChangesSet());

        JobList::shared().setCurrentJob(nullptr);
        Bindings::shared().setEdited(false);
        QVERIFY(editor.addRow(Scheduled::Kind::everyDay));
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(!other->isChangesSet());
    }

    void editsThatDoNotFitAreRefused() {
        currentJobWith({Scheduled::EveryDay{Scheduled::Kind::everyDay, QTime(1, 0)}});
        RuleEditorModel editor;
        ScheduledHelper::shared().fillRuleEditor(editor);
        QVERIFY(!editor.setValue(0, 0, QStringLiteral("title"))); // titles are chosen, not typed
        QVERIFY(!editor.setValue(0, 1, RuleTextField{QStringLiteral("3")}));
        QVERIFY(!editor.setValue(0, 1, QTime()));
        QVERIFY(!editor.setValue(1, 1, QTime(3, 0)));
        QVERIFY(!editor.chooseCriterion(0, 0, 6));
        QVERIFY(!editor.chooseCriterion(0, 2, 0));
        QVERIFY(!editor.removeRows(0, 2));
        QVERIFY(!Bindings::shared().isEdited());
    }

    void readOnlyEditorRefusesEdits() {
        currentJobWith({Scheduled::EveryDay{Scheduled::Kind::everyDay, QTime(1, 0)}});
        RuleEditorModel editor;
        QSignalSpy editable(&editor, &RuleEditorModel::editableChanged);
        ScheduledHelper::shared().fillRuleEditor(editor);
        editor.setEditable(false);
        QCOMPARE(editable.count(), 1);
        QVERIFY(!(editor.flags(editor.index(0)) & Qt::ItemIsEditable));
        QVERIFY(!editor.setValue(0, 1, QTime(2, 0)));
        QVERIFY(!editor.addRow(Scheduled::Kind::everyDay));
        QVERIFY(!editor.insertRows(0, 1));
        QVERIFY(!editor.removeRows(0, 1));
        QVERIFY(!editor.chooseCriterion(0, 0, 1));
        QCOMPARE(editor.rowCount(), 1);
        QVERIFY(!Bindings::shared().isEdited());
    }

    void choosingACriterionKeepsWhatWasEntered() {
        currentJobWith({Scheduled::DayOfWeek{Scheduled::Kind::dayOfWeek, 1, QTime(9, 45)},
                        Scheduled::RepeatInterval{Scheduled::Kind::repeatInterval, 3,
                                                  Scheduled::RepeatInterval::Unit::minutes}});
        RuleEditorModel editor;
        ScheduledHelper::shared().fillRuleEditor(editor);
        QVERIFY(editor.chooseCriterion(0, 1, 2));
        QCOMPARE(
            textsOf(editor.rows().at(0)),
            (QStringList{Localize::dayOfWeek(), Date::weekdays().at(2), QStringLiteral("@09:45")}));
        QVERIFY(editor.chooseCriterion(1, 1, 3));
        QCOMPARE(textsOf(editor.rows().at(1)),
                 (QStringList{Localize::repeatInterval(), Localize::Lowercase::days(),
                              QStringLiteral("[3]")}));
        // Another kind starts from its first child at every level.
        QVERIFY(editor.chooseCriterion(0, 0, 5));
        QCOMPARE(textsOf(editor.rows().at(0)),
                 (QStringList{Localize::dayOfYear(), Date::months().at(0), Localize::integer(1),
                              QStringLiteral("@00:00")}));
    }

    void modelShowsRowsToViews() {
        currentJobWith({Scheduled::EveryHour{Scheduled::Kind::everyHour, 7}});
        RuleEditorModel editor;
        ScheduledHelper::shared().fillRuleEditor(editor);
        const QModelIndex index = editor.index(0);
        QCOMPARE(index.data(RuleEditorModel::KindRole).toInt(), int(Scheduled::Kind::everyHour));
        QCOMPARE(index.data(RuleEditorModel::PathRole).toList(), (QVariantList{1, 0, 0}));
        const QVariantList values = index.data(RuleEditorModel::ValuesRole).toList();
        QCOMPARE(values.size(), 3);
        QCOMPARE(values.at(1).value<RuleTextField>().text, QStringLiteral("7"));
        QCOMPARE(index.data(Qt::DisplayRole).toString(),
                 Localize::everyHour() + QStringLiteral(" 7 ") + Localize::Lowercase::minute());
    }

    void attachedEditorIsTheOneShown() {
        QVERIFY(!RuleEditorModel::attached());
        {
            RuleEditorModel editor;
            editor.attach();
            QCOMPARE(RuleEditorModel::attached(), &editor);
        }
        QVERIFY(!RuleEditorModel::attached());
    }
};

VANDRA_GUILESS_TEST_MAIN(TestRuleEditor)
#include "test_ruleeditor.moc"

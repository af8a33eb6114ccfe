#include "common/testmain.h"
#include "common/text.h"
#include "model/jobreader.h"
#include "schedule/timelinebuilder.h"
#include "ui/modes/roles.h"
#include "ui/modes/timelinemodel.h"
#include "ui/modes/timelinemodeview.h"
#include "uitestroot.h"
#include "viewparts.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QTableView>
#include <QTest>

using namespace Vandra;

namespace {

const QTimeZone berlin("Europe/Berlin");

JobPtr calendarJob(const QString &label, const PlistDict &entry) {
    const PlistDict plist{{s("Label"), PlistValue(label)},
                          {s("Program"), PlistValue(s("/bin/true"))},
                          {s("StartCalendarInterval"), PlistValue(entry)}};
    return JobReader::jobFromPlist(plist, s("/jobs/") + label + s(".plist"), Kind::userAgent);
}

TimelineModeView *timelineAt(const ViewParts &parts, const QDateTime &now,
                             QWidget *parent = nullptr) {
    auto *view = new TimelineModeView(parts.services, parent);
    view->setClock([now] { return now; }, berlin);
    return view;
}

QList<Timeline> builtRows(const QList<JobPtr> &jobs, const QDateTime &now) {
    TimelineBuilder builder(now, berlin);
    return builder.buildTimeline(jobs).value_or(QList<Timeline>());
}

} // namespace

class TestTimelineMode : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFilteredListShowsTheTimelineOfTheMatchingJobs() {
        UiTestRoot root;
        ViewParts parts;
        // Across the night the clocks go back.
        const QDateTime now(QDate(2026, 10, 24), QTime(12, 0), berlin);
        const QList<JobPtr> jobs{
            calendarJob(s("nightly"), {{s("Hour"), PlistValue(2)}, {s("Minute"), PlistValue(30)}}),
            calendarJob(s("hourly"), {{s("Minute"), PlistValue(0)}}),
            calendarJob(s("mondays"), {{s("Weekday"), PlistValue(1)}})};
        std::unique_ptr<TimelineModeView> view(timelineAt(parts, now));
        TimelineModel &model = *view->model();
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const auto table = static_cast<QTableView *>(view->itemView());

        for (const QList<JobPtr> &shown :
             {jobs, QList<JobPtr>{jobs.at(0), jobs.at(2)}, QList<JobPtr>{jobs.at(0)}, jobs}) {
            view->setJobs(shown);
            const QList<Timeline> rows = builtRows(shown, now);
            QCOMPARE(model.rowCount(), rows.size());
            for (int row = 0; row < rows.size(); ++row) {
                QCOMPARE(model.row(row), rows.at(row));
                const bool isHeading = rows.at(row).kind == TimelineKind::group;
                QCOMPARE(model.index(row, 0).data(Roles::IsGroup).toBool(), isHeading);
                // Headings span the table and stand taller than the starts.
                QCOMPARE(table->columnSpan(row, 0), isHeading ? 2 : 1);
                QCOMPARE(table->rowHeight(row),
                         isHeading ? TimelineModel::groupRowHeight : TimelineModel::rowHeight);
            }
        }
    }

    void thousandsOfEveryMinuteJobsKeepMemoryByJobNotByRow() {
        UiTestRoot root;
        ViewParts parts;
        constexpr int jobCount = 2000;
        QList<JobPtr> jobs;
        for (int i = 0; i < jobCount; ++i)
            jobs << calendarJob(s("job%1").arg(i), {});
        QWidget window;
        window.resize(600, 400);
        TimelineModeView *view =
            timelineAt(parts, QDateTime(QDate(2026, 6, 1), QTime(0, 0), berlin), &window);
        view->resize(window.size());
        window.show();
        view->setJobs(jobs);
        const TimelineModel &model = *view->model();
        // One row an hour for each job for thirty days, under a heading a day.
        const int total = 30 * (1 + 24 * jobCount);
        QCOMPARE(model.totalRowCount(), total);
        // The view is told of a first screen's worth of rows and of more as it scrolls: its
        // header keeps a record for each row it knows.
        auto *table = static_cast<QTableView *>(view->itemView());
        QCOMPARE(table->verticalHeader()->count(), TimelineModel::firstRows);
        table->scrollToBottom();
        QVERIFY(model.rowCount() > TimelineModel::firstRows);
        QVERIFY(model.rowCount() < total);
        QCOMPARE(table->verticalHeader()->count(), model.rowCount());

        for (const int row : {0, model.rowCount() - 1}) {
            table->scrollTo(model.index(row, 0));
            QVERIFY(!table->viewport()->grab().isNull());
            QVERIFY(!model.index(row, 0).data().toString().isEmpty());
        }
        // Rows the view was not told of yet are made all the same.
        QCOMPARE(model.row(total - 1).kind, TimelineKind::time);
        constexpr qsizetype perJob = 512;
        constexpr qsizetype perPeriod = 256 * 1024;
        QVERIFY2(
            model.heldBytes() <= jobCount * perJob + perPeriod,
            qPrintable(s("%1 bytes for %2 rows").arg(model.heldBytes()).arg(model.rowCount())));
    }

    void aJobFirstStartingBeyondTheRowsShownIsShownWhenSelected() {
        UiTestRoot root;
        ViewParts parts;
        QList<JobPtr> jobs;
        for (int i = 0; i < 200; ++i)
            jobs << calendarJob(s("hourly%1").arg(i), {{s("Minute"), PlistValue(0)}});
        const JobPtr late = calendarJob(s("late"), {{s("Day"), PlistValue(21)}});
        jobs << late;
        std::unique_ptr<TimelineModeView> view(
            timelineAt(parts, QDateTime(QDate(2026, 6, 1), QTime(0, 30), berlin)));
        view->setJobs(jobs);
        TimelineModel &model = *view->model();
        QCOMPARE(model.rowCount(), TimelineModel::firstRows);

        view->showCurrentJob(late);
        const QModelIndexList selected = view->itemView()->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QVERIFY(selected.first().row() >= TimelineModel::firstRows);
        QVERIFY(model.row(selected.first().row()).name.startsWith(s("late")));
        // The headings among the rows added stand as tall as the others.
        const auto table = static_cast<QTableView *>(view->itemView());
        const QList<int> headings = model.headingRows();
        QVERIFY(!headings.isEmpty() && headings.last() >= TimelineModel::firstRows);
        QVERIFY(model.index(headings.last(), 0).data(Roles::IsGroup).toBool());
        QCOMPARE(table->rowHeight(headings.last()), TimelineModel::groupRowHeight);
    }
};

VANDRA_TEST_MAIN(TestTimelineMode)
#include "test_timelinemode.moc"

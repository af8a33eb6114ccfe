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
        QCOMPARE(model.rowCount(), 30 * (1 + 24 * jobCount));

        // Shown at its start, in the middle and at its end.
        QAbstractItemView *table = view->itemView();
        for (const int row : {0, model.rowCount() / 2, model.rowCount() - 1}) {
            table->scrollTo(model.index(row, 0));
            QVERIFY(!table->viewport()->grab().isNull());
            QVERIFY(!model.index(row, 0).data().toString().isEmpty());
        }
        constexpr qsizetype perJob = 512;
        constexpr qsizetype perPeriod = 256 * 1024;
        QVERIFY2(
            model.heldBytes() <= jobCount * perJob + perPeriod,
            qPrintable(s("%1 bytes for %2 rows").arg(model.heldBytes()).arg(model.rowCount())));
    }
};

VANDRA_TEST_MAIN(TestTimelineMode)
#include "test_timelinemode.moc"

#include "common/jobrecords.h"
#include "common/testmain.h"
#include "model/section.h"
#include "platform/datetexts.h"
#include "support/localize.h"
#include "ui/modes/jobsortproxy.h"
#include "ui/modes/jobtablemodel.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"
#include "ui/modes/timelinemodel.h"
#include "ui/modes/timelinemodeview.h"
#include "uitestroot.h"
#include "viewparts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

using namespace Vandra;

namespace {

QStringList labelsInOrder(const QAbstractItemModel &model) {
    QStringList labels;
    for (int row = 0; row < model.rowCount(); ++row)
        labels.append(model.index(row, int(ListColumn::name)).data().toString());
    return labels;
}

} // namespace

class TestViewModels : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sectionsCountTheirJobsAndHideSystemKinds() {
        const QList<JobPtr> jobs = {jobRecord(Kind::userAgent, QStringLiteral("a")),
                                    jobRecord(Kind::userAgent, QStringLiteral("b")),
                                    jobRecord(Kind::localDaemon, QStringLiteral("c")),
                                    jobRecord(Kind::systemDaemon, QStringLiteral("d"))};
        ViewParts parts;
        SectionModel model(parts.services);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);

        model.setSections(buildSections(jobs, false));
        QCOMPARE(model.rowCount(), 2);
        const QModelIndex agents = model.index(0, 0);
        QCOMPARE(agents.data().toString(), Kinds::title(Kind::userAgent));
        QCOMPARE(agents.data(Roles::Count).toInt(), 2);
        QVERIFY(model.index(0, SectionModel::countColumn).data().isNull());
        QCOMPARE(model.rowCount(agents), 2);
        QCOMPARE(model.index(1, 0).data(Roles::SectionKind).toInt(), int(Kind::localDaemon));
        QVERIFY(!(agents.flags() & Qt::ItemIsSelectable));
        QVERIFY(model.index(0, 0, agents).flags() & Qt::ItemIsSelectable);

        model.setSections(buildSections(jobs, true));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.indexOfJob(jobs.at(3)).parent(), model.indexOfSection(Kind::systemDaemon));

        // A fresh record of the same file is found by its file.
        const JobPtr reread = jobRecord(Kind::localDaemon, QStringLiteral("c"));
        QCOMPARE(model.indexOfJob(reread), model.indexOfJob(jobs.at(2)));
        model.setSections({});
        QCOMPARE(model.rowCount(), 0);
    }

    void jobRowsShowTheirStateAndTips() {
        const JobPtr enabled = jobRecord(Kind::userAgent, QStringLiteral("plain"));
        const JobPtr disabled = jobRecord(Kind::userAgent, QStringLiteral("off"));
        disabled->setEnabled(false);
        disabled->summary = QStringLiteral("rsync");
        const JobPtr unsettled = jobRecord(Kind::userAgent, QStringLiteral("fresh"));
        ViewParts parts;
        SectionModel model(parts.services);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setSections(buildSections({enabled, disabled, unsettled}, false));
        const QModelIndex section = model.index(0, 0);

        const QPalette palette = QApplication::palette();
        QCOMPARE(model.index(0, 0, section).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("plain"));
        QCOMPARE(model.index(0, 0, section).data(Qt::ForegroundRole).value<QBrush>().color(),
                 palette.color(QPalette::Text));
        const QModelIndex off = model.index(1, 0, section);
        QVERIFY(off.data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("off")));
        QVERIFY(off.data(Qt::ToolTipRole).toString().endsWith(QStringLiteral("rsync")));
        QCOMPARE(off.data(Qt::ForegroundRole).value<QBrush>().color(),
                 palette.color(QPalette::PlaceholderText));
        // An enabled state never worked out counts as enabled and is stored when shown.
        QVERIFY(!unsettled->enabledState());
        QVERIFY(model.index(2, 0, section).data(Roles::IsEnabled).toBool());
        QCOMPARE(unsettled->enabledState(), std::optional<bool>(true));
    }

    void listSortsEachColumnAsTheTableSays() {
        const JobPtr job10 = jobRecord(Kind::localAgent, QStringLiteral("job10"));
        const JobPtr job2 = jobRecord(Kind::userAgent, QStringLiteral("Job2"));
        const JobPtr alpha = jobRecord(Kind::localDaemon, QStringLiteral("alpha"));
        job10->summary = QStringLiteral("zsh");
        alpha->summary = QStringLiteral("Bash");
        job2->setRun(QStringLiteral("/usr/bin/b"));
        alpha->setRun(QStringLiteral("/usr/bin/a"));
        job10->setRun(QStringLiteral("/usr/bin/C"));
        job2->isScheduledEnabled = true;
        alpha->setKeepAlive(true);
        job10->setEnabled(false);

        ViewParts parts;
        JobTableModel model(parts.services);
        JobSortProxy proxy;
        proxy.setSourceModel(&model);
        QAbstractItemModelTester sourceTester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester proxyTester(
            &proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setJobs({job10, job2, alpha});
        QCOMPARE(model.columnCount(), 8);
        QCOMPARE(model.headerData(int(ListColumn::keepAlive), Qt::Horizontal).toString(),
                 Localize::relaunch());

        const auto sorted = [&](ListColumn column, Qt::SortOrder order) {
            proxy.sort(int(column), order);
            return labelsInOrder(proxy);
        };
        const QStringList byNumber = {QStringLiteral("alpha"), QStringLiteral("Job2"),
                                      QStringLiteral("job10")};
        // Case ignored, numbers by value, in the C locale the tests run in.
        QCOMPARE(sorted(ListColumn::name, Qt::AscendingOrder), byNumber);
        QCOMPARE(sorted(ListColumn::name, Qt::DescendingOrder),
                 (QStringList{QStringLiteral("job10"), QStringLiteral("Job2"),
                              QStringLiteral("alpha")}));
        QCOMPARE(sorted(ListColumn::run, Qt::AscendingOrder),
                 (QStringList{QStringLiteral("alpha"), QStringLiteral("Job2"),
                              QStringLiteral("job10")}));
        // The job without a summary comes last in both directions.
        QCOMPARE(sorted(ListColumn::summary, Qt::AscendingOrder),
                 (QStringList{QStringLiteral("alpha"), QStringLiteral("job10"),
                              QStringLiteral("Job2")}));
        QCOMPARE(sorted(ListColumn::summary, Qt::DescendingOrder),
                 (QStringList{QStringLiteral("job10"), QStringLiteral("alpha"),
                              QStringLiteral("Job2")}));
        QCOMPARE(sorted(ListColumn::kind, Qt::AscendingOrder),
                 (QStringList{QStringLiteral("Job2"), QStringLiteral("job10"),
                              QStringLiteral("alpha")}));
        QCOMPARE(sorted(ListColumn::kind, Qt::DescendingOrder),
                 (QStringList{QStringLiteral("alpha"), QStringLiteral("job10"),
                              QStringLiteral("Job2")}));
        // Yes/no columns: ascending puts the flag's jobs first, descending last.
        QCOMPARE(sorted(ListColumn::scheduled, Qt::AscendingOrder).first(), QStringLiteral("Job2"));
        QCOMPARE(sorted(ListColumn::scheduled, Qt::DescendingOrder).last(), QStringLiteral("Job2"));
        QCOMPARE(sorted(ListColumn::keepAlive, Qt::AscendingOrder).first(),
                 QStringLiteral("alpha"));
        QCOMPARE(sorted(ListColumn::keepAlive, Qt::DescendingOrder).last(),
                 QStringLiteral("alpha"));
        QCOMPARE(sorted(ListColumn::enabled, Qt::AscendingOrder).last(), QStringLiteral("job10"));
        QCOMPARE(sorted(ListColumn::enabled, Qt::DescendingOrder).first(), QStringLiteral("job10"));
    }

    void listCellsShowFlagsKindsAndSecondaryText() {
        const JobPtr job = jobRecord(Kind::localDaemon, QStringLiteral("off"));
        job->setEnabled(false);
        job->setKeepAlive(true);
        ViewParts parts;
        JobTableModel model(parts.services);
        model.setJobs({job});
        QCOMPARE(model.index(0, int(ListColumn::keepAlive)).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Checked));
        QCOMPARE(model.index(0, int(ListColumn::scheduled)).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Unchecked));
        QCOMPARE(model.index(0, int(ListColumn::kind)).data(Qt::ToolTipRole).toString(),
                 Kinds::title(Kind::localDaemon));
        QCOMPARE(
            model.index(0, int(ListColumn::kind)).data(Qt::AccessibleDescriptionRole).toString(),
            Kinds::title(Kind::localDaemon));
        QCOMPARE(
            model.index(0, int(ListColumn::name)).data(Qt::ForegroundRole).value<QBrush>().color(),
            QApplication::palette().color(QPalette::PlaceholderText));
        QCOMPARE(model.rowOfJob(jobRecord(Kind::localDaemon, QStringLiteral("off"))), 0);
        QCOMPARE(model.rowOfJob(jobRecord(Kind::localDaemon, QStringLiteral("other"))), -1);
    }

    void timelineGroupsStartsByDayAfterTheIntervalBlock() {
        UiTestRoot root;
        root.place(QStringLiteral("backup.plist"), Kind::userAgent);
        root.place(QStringLiteral("job2.plist"), Kind::userAgent);
        root.place(QStringLiteral("job10.plist"), Kind::userAgent);
        const QList<JobPtr> jobs = JobDiscovery::discoverJobs();
        QCOMPARE(jobs.size(), 3);

        const QTimeZone zone = QTimeZone::utc();
        // A Tuesday, 10:00: the 9:30 job next runs tomorrow.
        const QDateTime now(QDate(2026, 3, 10), QTime(10, 0), zone);
        ViewParts parts;
        TimelineModeView view(parts.services);
        view.setClock([now] { return now; }, zone);
        TimelineModel &model = *view.model();
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.setJobs(jobs);

        QVERIFY(model.rowCount() > 4);
        QCOMPARE(model.index(0, 0).data().toString(), Localize::repeatInterval());
        QVERIFY(model.index(0, 0).data(Roles::IsGroup).toBool());
        QVERIFY(!(model.index(0, 0).flags() & Qt::ItemIsSelectable));
        const QModelIndex interval = model.index(1, TimelineModel::nameColumn);
        QCOMPARE(interval.data(Roles::TimelineKind).toInt(), int(TimelineKind::interval));
        QVERIFY(interval.data().toString().contains(QStringLiteral("org.example.job2")));
        QVERIFY(interval.data().toString().contains(DateTexts::duration(3600)));
        QVERIFY(model.index(1, TimelineModel::timeColumn).data().toString().isEmpty());
        // The interval job is disabled: secondary colour.
        QCOMPARE(interval.data(Qt::ForegroundRole).value<QBrush>().color(),
                 QApplication::palette().color(QPalette::PlaceholderText));

        QList<Timeline> rows;
        for (int row = 0; row < model.rowCount(); ++row)
            rows << model.row(row);
        QCOMPARE(rows.at(2).kind, TimelineKind::group);
        QCOMPARE(rows.at(3).name, QStringLiteral("org.example.backup"));
        QCOMPARE(rows.at(3).date, QDateTime(QDate(2026, 3, 11), QTime(9, 30), zone));
        QCOMPARE(model.index(3, TimelineModel::timeColumn).data().toString(),
                 DateTexts::shortTime(rows.at(3).date, zone));

        int backupStarts = 0;
        QDate headingDay;
        bool isNewHeading = false;
        for (int row = 2; row < rows.size(); ++row) {
            const Timeline &entry = rows.at(row);
            if (entry.kind == TimelineKind::group) {
                QVERIFY2(!isNewHeading, "a heading with no start under it");
                isNewHeading = true;
                continue;
            }
            QCOMPARE(entry.kind, TimelineKind::time);
            const QDate day = entry.date.toTimeZone(zone).date();
            // A heading comes before the first start of each day, and only then.
            QCOMPARE(isNewHeading, day != headingDay);
            headingDay = day;
            isNewHeading = false;
            QVERIFY(entry.date > now && entry.date < now.addMonths(1));
            if (entry.name == QStringLiteral("org.example.backup"))
                ++backupStarts;
            else
                QCOMPARE(entry.date.toTimeZone(zone).date().dayOfWeek(), int(Qt::Sunday));
        }
        // Every day at 9:30 from March 11 up to April 10, 10:00 (a month after now, exclusive).
        QCOMPARE(backupStarts, 31);

        // The same list again leaves the rows as they are.
        QSignalSpy changes(&model, &TimelineModel::timelineChanged);
        view.setJobs(jobs);
        QCOMPARE(changes.count(), 0);
        view.setJobs({jobs.first()});
        QCOMPARE(changes.count(), 1);
    }
};

VANDRA_TEST_MAIN(TestViewModels)
#include "test_viewmodels.moc"

// The live status of jobs in the list, the grid and tree, the detail editor and the job's
// Start Now and Stop commands.

#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "actions/jobstatustext.h"
#include "common/testmain.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/jobeditor.h"
#include "store/revisioncontroller.h"
#include "support/localize.h"
#include "ui/modes/jobtablemodel.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"
#include "ui/window/mainwindow.h"
#include "uitestroot.h"
#include "windowparts.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace Vandra;

namespace {

QString s(const char *text) {
    return QString::fromUtf8(text);
}

// A helper's answer: each label with whether it runs, and its process when it does.
PlistDict reply(const QList<std::pair<QString, bool>> &jobs, qint64 generation = 1) {
    PlistDict status;
    for (const auto &[label, isRunning] : jobs) {
        JobStatus job{true, isRunning, {}, {}, {}, {}};
        if (isRunning)
            job.pid = 4242;
        status.insert(label, job.toDict());
    }
    return PlistDict{{ActionKey::status, status},
                     {ActionKey::backend, s("systemd")},
                     {ActionKey::generation, generation}};
}

JobPtr jobLabelled(const QString &label) {
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->label == label)
            return job;
    }
    return {};
}

} // namespace

class TestJobStatusViews : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theListHasAStatusColumnAndGridAndTreeAMark() {
        UiTestRoot root;
        root.placeUsualJobs();
        JobDiscovery::reloadJobs();
        ViewParts parts;
        JobStatusSource &source = parts.status;
        JobTableModel table(parts.services);
        QAbstractItemModelTester tableTester(&table);
        table.setJobs(JobList::shared().jobs());
        const int row = table.rowOfJob(jobLabelled(s("org.example.backup")));
        const QModelIndex status = table.index(row, int(ListColumn::status));
        QCOMPARE(table.headerData(int(ListColumn::status), Qt::Horizontal), s("Status"));
        // Before the helper answers nothing is known, and nothing is claimed.
        QCOMPARE(status.data().toString(), QString());

        QSignalSpy changed(&table, &QAbstractItemModel::dataChanged);
        source.takeReply(reply({{s("org.example.backup"), true}}));
        // The status column changed (and the badges, which the doctor judges again).
        QVERIFY(
            std::any_of(changed.cbegin(), changed.cend(), [&status](const QList<QVariant> &args) {
                const auto from = args.at(0).value<QModelIndex>();
                const auto to = args.at(1).value<QModelIndex>();
                return from.column() <= status.column() && status.column() <= to.column() &&
                       from.row() <= status.row() && status.row() <= to.row();
            }));
        QCOMPARE(status.data().toString(), Localize::text("Running"));
        QVERIFY(status.data(Qt::ToolTipRole).toString().contains(s("4242")));
        const int other = table.rowOfJob(jobLabelled(s("org.example.job2")));
        QCOMPARE(table.index(other, int(ListColumn::status)).data().toString(),
                 Localize::text("Not loaded"));

        SectionModel sections(parts.services);
        QAbstractItemModelTester sectionTester(&sections);
        sections.setSections(buildSections(JobList::shared().jobs(), true));
        const QModelIndex backup = sections.indexOfJob(jobLabelled(s("org.example.backup")));
        QCOMPARE(backup.data(Roles::StatusMark).toInt(), int(JobStatusText::Mark::running));
        QCOMPARE(backup.siblingAtColumn(SectionModel::countColumn).data().toString(), s("\u25CF"));
        QSignalSpy marks(&sections, &QAbstractItemModel::dataChanged);
        source.takeReply(reply({{s("org.example.backup"), false}}, 2));
        QVERIFY(!marks.isEmpty());
        QCOMPARE(backup.data(Roles::StatusMark).toInt(), int(JobStatusText::Mark::loaded));
        QCOMPARE(backup.siblingAtColumn(SectionModel::countColumn).data().toString(), s("\u25CB"));
    }

    void theEditorShowsTheStatusAndTheCommandsFollowIt() {
        UiTestRoot root;
        root.placeUsualJobs();
        JobDiscovery::reloadJobs();
        ActionController controller(ActionController::Setup{});
        RevisionController revisions;
        JobEditor editor(controller, revisions);
        WindowParts parts(controller, revisions);
        MainWindow window(editor, parts.services);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        JobStatusSource &source = parts.view.status;
        auto *start = window.findChild<QAction *>(s("startJobAction"));
        auto *stop = window.findChild<QAction *>(s("stopJobAction"));
        QVERIFY(start && stop);
        QVERIFY(window.fileMenu()->actions().contains(start));
        QVERIFY(window.fileMenu()->actions().contains(stop));
        auto *line = window.findChild<QLabel *>(s("jobStatusLabel"));
        QVERIFY(line);

        JobList::shared().setCurrentJob(jobLabelled(s("org.example.backup")));
        source.takeReply(reply({}, 10));
        QVERIFY(!start->isEnabled());
        QVERIFY(!stop->isEnabled());
        QCOMPARE(line->text(), Localize::text("Not loaded"));

        source.takeReply(reply({{s("org.example.backup"), false}}, 11));
        QVERIFY(start->isEnabled());
        QVERIFY(!stop->isEnabled());
        QCOMPARE(line->text(), Localize::text("Loaded"));

        source.takeReply(reply({{s("org.example.backup"), true}}, 12));
        QVERIFY(!start->isEnabled());
        QVERIFY(stop->isEnabled());
        QVERIFY(line->text().startsWith(Localize::text("Running")));
        QVERIFY(line->text().contains(s("4242")));

        // A machine-wide job's status is the privileged helper's to tell: both are offered.
        JobList::shared().setCurrentJob(jobLabelled(s("org.example.daemon")));
        QVERIFY(start->isEnabled());
        QVERIFY(stop->isEnabled());
        source.takeReply(reply({}, 13));
        Bindings::shared().setEdited(false);
    }
};

VANDRA_TEST_MAIN(TestJobStatusViews)
#include "test_jobstatusviews.moc"

#include "common/jobrecords.h"
#include "common/testmain.h"
#include "model/section.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/modes/filterpreparer.h"
#include "ui/modes/gridmodeview.h"
#include "ui/modes/jobfilter.h"
#include "ui/modes/jobsortproxy.h"
#include "ui/modes/listmodeview.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"
#include "ui/modes/treemodeview.h"
#include "uitestroot.h"
#include "viewparts.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace Vandra;

namespace {

using Grouped = QList<QPair<Kind, QList<JobPtr>>>;

QTreeView *treeView(const TreeModeView &tree) {
    return static_cast<QTreeView *>(tree.itemView());
}

// A list read afresh: new records of the same jobs.
QList<JobPtr> readAgain(const QList<JobPtr> &jobs) {
    QList<JobPtr> copies;
    for (const JobPtr &job : jobs)
        copies.append(std::make_shared<Job>(*job));
    return copies;
}

// The sections and jobs a grid or tree shows, with the counts their headings give.
Grouped shownSections(const QAbstractItemModel &model) {
    Grouped shown;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex section = model.index(row, 0);
        QList<JobPtr> jobs;
        for (int child = 0; child < model.rowCount(section); ++child)
            jobs.append(model.index(child, 0, section).data(Roles::Job).value<JobPtr>());
        if (section.data(Roles::Count).toInt() != jobs.size())
            return {};
        shown.append({Kind(section.data(Roles::SectionKind).toInt()), jobs});
    }
    return shown;
}

// What the grid and the tree must show for a filter text: the filtered list in sections.
Grouped expectedSections(const QList<JobPtr> &jobs, const QString &text) {
    Grouped expected;
    for (const SectionPtr &section : buildSections(JobFilter::filter(jobs, text), false))
        expected.append({section->kind, section->jobs});
    return expected;
}

// Texts typed, deleted and replaced in turn: each new text holds the one before, is held by
// it, or neither, in capitals and with accents.
const QStringList typing = {
    QStringLiteral("s"),
    QStringLiteral("sy"),
    QStringLiteral("syn"),
    QStringLiteral("SYNC"),
    QStringLiteral("sy"),
    QStringLiteral("s"),
    QStringLiteral("zü"),
    QStringLiteral("ZURICH"),
    QStringLiteral("zur"),
    QString(),
    QStringLiteral("CAFÉ"),
    QStringLiteral("caf"),
    QStringLiteral("nothing"),
    QStringLiteral("e"),
    QString(),
};

} // namespace

class TestModeFilter : public QObject {
    Q_OBJECT

private:
    QList<JobPtr> m_jobs;

private Q_SLOTS:
    void init() {
        m_jobs = {
            jobRecord(Kind::userAgent, QStringLiteral("sync"),
                      QStringLiteral("<string>Sync mail</string>")),
            jobRecord(Kind::userAgent, QStringLiteral("zurich"), QStringLiteral("Zürich backup")),
            jobRecord(Kind::userAgent, QStringLiteral("none"), std::nullopt),
            jobRecord(Kind::localAgent, QStringLiteral("cafe"), QStringLiteral("org.example.café")),
            jobRecord(Kind::localDaemon, QStringLiteral("daemon"),
                      QStringLiteral("SYNCHRONISE zur")),
            jobRecord(Kind::systemAgent, QStringLiteral("system"),
                      QStringLiteral("sync everything")),
        };
    }

    void gridAndTreeShowTheFilteredSectionsWithTheirCounts() {
        UiTestRoot root;
        ViewParts parts;
        GridModeView grid(parts.services);
        TreeModeView tree(parts.services);
        QAbstractItemModelTester gridTester(grid.model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester treeTester(tree.model(),
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString &text : typing) {
            grid.showJobs(m_jobs, text);
            tree.showJobs(m_jobs, text);
            const Grouped expected = expectedSections(m_jobs, text);
            QCOMPARE(shownSections(*grid.model()), expected);
            QCOMPARE(shownSections(*tree.model()), expected);
            for (int row = 0; row < expected.size(); ++row) {
                QToolButton *button = tree.countButton(expected.at(row).first);
                QVERIFY2(button, qPrintable(text));
                QCOMPARE(button->text(), Localize::integer(int(expected.at(row).second.size())));
                // Every section shown is open until the user closes one.
                QVERIFY(treeView(tree)->isExpanded(tree.model()->index(row, 0)));
            }
            QVERIFY(!tree.countButton(Kind::systemAgent));
        }
    }

    void headingsTellScreenReadersTheNumberShown() {
        UiTestRoot root;
        ViewParts parts;
        TreeModeView tree(parts.services);
        tree.showJobs(m_jobs, QStringLiteral("sync"));
        const QModelIndex agents = tree.model()->index(0, 0);
        QCOMPARE(agents.data(Roles::SectionKind).toInt(), int(Kind::userAgent));
        QCOMPARE(agents.data(Qt::AccessibleTextRole).toString(),
                 SectionModel::accessibleTitle(Kind::userAgent, 1));
    }

    void theListShowsTheFilteredJobsInEveryOrder() {
        UiTestRoot root;
        ViewParts parts;
        ListModeView list(parts.services);
        QAbstractItemModelTester tester(list.proxy(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const QString &text : typing) {
            list.showJobs(m_jobs, text);
            QCOMPARE(list.content(), JobFilter::filter(m_jobs, text));
        }
        // Sorted by name, descending: the same jobs, in the sorted order.
        static_cast<QTreeView *>(list.itemView())
            ->sortByColumn(int(ListColumn::name), Qt::DescendingOrder);
        for (const QString &text : typing) {
            list.showJobs(m_jobs, text);
            QList<JobPtr> expected = JobFilter::filter(m_jobs, text);
            std::sort(expected.begin(), expected.end(),
                      [](const JobPtr &a, const JobPtr &b) { return a->label > b->label; });
            QCOMPARE(list.content(), expected);
        }
    }

    void theTreeIsKeptUntilTheListChanges() {
        UiTestRoot root;
        ViewParts parts;
        TreeModeView tree(parts.services);
        tree.showJobs(m_jobs, QString());
        QSignalSpy resets(tree.model(), &QAbstractItemModel::modelReset);
        // Shown again (switching back to the tree) and filtered: the same rows, kept.
        tree.showJobs(m_jobs, QString());
        tree.showJobs(m_jobs, QStringLiteral("sync"));
        tree.showJobs(m_jobs, QString());
        QCOMPARE(resets.count(), 0);

        // Read again: new records, a new tree, still filtered by the text in use.
        const QList<JobPtr> again = readAgain(m_jobs.mid(1));
        tree.showJobs(again, QStringLiteral("sync"));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(shownSections(*tree.model()), expectedSections(again, QStringLiteral("sync")));
        QCOMPARE(tree.countButton(Kind::localDaemon)->text(), Localize::integer(1));
        QVERIFY(!tree.countButton(Kind::userAgent));

        // Showing system jobs groups the same list anew.
        Defaults::shared().setValue(UserDefaultsKeys::showSystemJobs, true);
        tree.showJobs(again, QStringLiteral("sync"));
        QCOMPARE(resets.count(), 2);
        QVERIFY(tree.countButton(Kind::systemAgent));
    }

    void aClosedSectionStaysClosedWhenTheFilterBringsItBack() {
        UiTestRoot root;
        ViewParts parts;
        TreeModeView tree(parts.services);
        tree.showJobs(m_jobs, QString());
        tree.countButton(Kind::localAgent)->click();
        tree.showJobs(m_jobs, QStringLiteral("sync"));
        tree.showJobs(m_jobs, QStringLiteral("s"));
        tree.showJobs(m_jobs, QString());
        const auto isOpen = [&tree](Kind kind) {
            for (int row = 0; row < tree.model()->rowCount(); ++row) {
                const QModelIndex section = tree.model()->index(row, 0);
                if (section.data(Roles::SectionKind).toInt() == int(kind))
                    return treeView(tree)->isExpanded(section);
            }
            return false;
        };
        QVERIFY(!isOpen(Kind::localAgent));
        QVERIFY(isOpen(Kind::userAgent));
        QVERIFY(isOpen(Kind::localDaemon));
    }

    void theCurrentJobIsFoundThroughTheFilter() {
        UiTestRoot root;
        ViewParts parts;
        TreeModeView tree(parts.services);
        ListModeView list(parts.services);
        for (ModeView *view : {static_cast<ModeView *>(&tree), static_cast<ModeView *>(&list)}) {
            view->showJobs(m_jobs, QStringLiteral("zur"));
            view->showCurrentJob(m_jobs.at(4));
            QCOMPARE(view->jobAt(view->itemView()->currentIndex()), m_jobs.at(4));
            // A job the filter hides leaves nothing selected.
            view->showCurrentJob(m_jobs.at(0));
            QVERIFY(!view->itemView()->currentIndex().isValid());
        }
    }

    void aTextThatCannotWaitPreparesTheRestAtOnceAsTheIdleLoopWould() {
        QList<JobPtr> jobs;
        for (int i = 0; i < 1000; ++i) {
            jobs << jobFromKeys(QStringLiteral("job%1").arg(i),
                                {{QStringLiteral("Comment"),
                                  PlistValue(i % 7 == 0 ? QStringLiteral("Zürich ÉTÉ")
                                                        : QStringLiteral("Plain Text"))}});
        }
        // What folding each text on its own gives, made from copies so that the records
        // themselves stay unprepared.
        QStringList expected;
        for (const JobPtr &job : std::as_const(jobs))
            expected << Job(*job).textContent.folded(&JobFilter::folded);
        FilterPreparer preparer;
        QSignalSpy done(&preparer, &FilterPreparer::done);
        preparer.prepare(jobs);
        QVERIFY(!preparer.isDone());
        preparer.finishNow();
        QVERIFY(preparer.isDone());
        QCOMPARE(done.count(), 1);
        // Every text is there already: asking again folds nothing.
        static int folds = 0;
        const auto counted = [](const QString &text) {
            ++folds;
            return JobFilter::folded(text);
        };
        for (qsizetype i = 0; i < jobs.size(); ++i)
            QCOMPARE(jobs.at(i)->textContent.folded(counted), expected.at(i));
        QCOMPARE(folds, 0);
    }

    void preparingTheTextsLetsGoOfTheList() {
        QList<JobPtr> jobs = readAgain(m_jobs);
        const std::weak_ptr<Job> first = jobs.first();
        FilterPreparer preparer;
        QSignalSpy done(&preparer, &FilterPreparer::done);
        preparer.prepare(jobs);
        QVERIFY(!preparer.isDone());
        // A new list takes the place of the one being prepared.
        jobs = readAgain(m_jobs);
        preparer.prepare(jobs);
        QVERIFY(done.wait());
        QCOMPARE(done.count(), 1);
        QVERIFY(first.expired());
        QCOMPARE(JobFilter::filter(jobs, QStringLiteral("ZURICH")), QList<JobPtr>{jobs.at(1)});
    }
};

VANDRA_TEST_MAIN(TestModeFilter)
#include "test_modefilter.moc"

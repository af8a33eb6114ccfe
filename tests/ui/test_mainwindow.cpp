#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "common/testmain.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "scriptedinteraction.h"
#include "store/foldermonitors.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "store/revisioncontroller.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "testjobs.h"
#include "ui/common/dialoginteraction.h"
#include "ui/common/helppage.h"
#include "ui/modes/gridmodeview.h"
#include "ui/modes/gridview.h"
#include "ui/modes/jobdrag.h"
#include "ui/modes/listmodeview.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"
#include "ui/modes/timelinemodel.h"
#include "ui/modes/timelinemodeview.h"
#include "ui/modes/treemodeview.h"
#include "ui/preferences/preferenceswindow.h"
#include "ui/sheets/editplistsheet.h"
#include "ui/sheets/logsheet.h"
#include "ui/sheets/notessheet.h"
#include "ui/window/aboutbox.h"
#include "ui/window/appcontroller.h"
#include "ui/window/commandscreenshots.h"
#include "ui/window/jobcommands.h"
#include "ui/window/joburl.h"
#include "ui/window/mainwindow.h"
#include "uitestroot.h"
#include "windowparts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <Qsci/qsciscintilla.h>

using namespace Vandra;

namespace {

// Clicks the middle of an index the way a user would.
void click(QAbstractItemView *view, const QModelIndex &index) {
    QVERIFY(index.isValid());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->visualRect(index).center());
}

QModelIndex indexOfLabel(QAbstractItemView *view, const QString &label) {
    const QAbstractItemModel *model = view->model();
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, label, 1,
                                               Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.first();
}

// The names of the items enabled among names.
QStringList enabledOf(const MainWindow &window, const QStringList &names) {
    QStringList enabled;
    for (const QString &name : names) {
        QObject *item = window.findChild<QObject *>(name);
        if (!item)
            return {QStringLiteral("missing ") + name};
        const bool isOn = item->isWidgetType() ? static_cast<QWidget *>(item)->isEnabled()
                                               : static_cast<QAction *>(item)->isEnabled();
        if (isOn)
            enabled.append(name);
    }
    enabled.sort();
    return enabled;
}

// The first row or item of a mode that stands for a job, under a section or not.
QModelIndex firstJobIndex(const ModeView &mode) {
    const QAbstractItemModel *model = mode.itemView()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex top = model->index(row, 0);
        if (mode.jobAt(top))
            return top;
        for (int child = 0; child < model->rowCount(top); ++child) {
            if (mode.jobAt(model->index(child, 0, top)))
                return model->index(child, 0, top);
        }
    }
    return {};
}

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

QStringList actionNames(const QMenu &menu) {
    QStringList names;
    for (const QAction *action : menu.actions()) {
        if (!action->isSeparator())
            names.append(action->objectName());
    }
    return names;
}

JobPtr selectedJob(QAbstractItemView *view) {
    const QModelIndexList selected = view->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? JobPtr() : selected.first().data(Roles::Job).value<JobPtr>();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    // A machine with the usual jobs, read into the shared list, and a shown window. Nothing
    // here reaches the helpers.
    struct Fixture {
        UiTestRoot root;
        std::unique_ptr<ActionController> controller;
        RevisionController revisions;
        std::unique_ptr<JobEditor> editor;
        std::unique_ptr<WindowParts> parts;
        std::unique_ptr<MainWindow> window;

        Fixture() {
            root.placeUsualJobs();
            JobDiscovery::reloadJobs();
            controller = std::make_unique<ActionController>(ActionController::Setup{});
            editor = std::make_unique<JobEditor>(*controller, revisions);
            parts = std::make_unique<WindowParts>(*controller, revisions);
            window = std::make_unique<MainWindow>(*editor, parts->services);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
        ~Fixture() {
            Bindings::shared().setEdited(false);
            window.reset();
            editor.reset();
        }

        [[nodiscard]] QString shownName() const {
            return window->findChild<QLineEdit *>(QStringLiteral("nameField"))->text();
        }

        [[nodiscard]] QAbstractItemView *view() const {
            return window->currentModeView()->itemView();
        }
    };

private Q_SLOTS:
    void everyModeShowsTheSectionsAndCounts() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        QCOMPARE(window.mode(), int(MainWindow::grid));

        auto *grid = static_cast<GridModeView *>(window.modeView(MainWindow::grid));
        const QAbstractItemModel &sections = *grid->model();
        // The system agent has no section while system jobs are hidden.
        QCOMPARE(sections.rowCount(), 3);
        QCOMPARE(sections.index(0, 0).data(Roles::Count).toInt(), 3);
        QCOMPARE(sections.index(1, 0).data(Roles::SectionKind).toInt(), int(Kind::localAgent));
        QCOMPARE(sections.index(2, 0).data(Roles::SectionKind).toInt(), int(Kind::localDaemon));
        const QModelIndex firstItem = sections.index(0, 0, sections.index(0, 0));
        QCOMPARE(fixture.view()->visualRect(firstItem).size(),
                 QSize(GridLayout::itemWidth, GridLayout::itemHeight));
        QCOMPARE(fixture.view()->indexAt(fixture.view()->visualRect(firstItem).center()),
                 firstItem);

        window.switchMode(MainWindow::tree);
        auto *tree = static_cast<TreeModeView *>(window.modeView(MainWindow::tree));
        QCOMPARE(tree->model()->rowCount(), 3);
        QVERIFY(tree->countButton(Kind::userAgent));
        QCOMPARE(tree->countButton(Kind::userAgent)->text(), Localize::integer(3));
        QCOMPARE(tree->countButton(Kind::localDaemon)->text(), Localize::integer(1));
        QVERIFY(!tree->countButton(Kind::systemAgent));

        window.switchMode(MainWindow::list);
        auto *list = static_cast<ListModeView *>(window.modeView(MainWindow::list));
        QCOMPARE(list->content().size(), 5);
        QCOMPARE(list->content().first()->label, QStringLiteral("org.example.backup"));

        window.switchMode(MainWindow::timeline);
        auto *timeline = static_cast<TimelineModeView *>(window.modeView(MainWindow::timeline));
        QCOMPARE(timeline->model()->index(0, 0).data().toString(), Localize::repeatInterval());
    }

    void switchingModesLeavesNoCurrentJobAndIsRemembered() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        window.switchMode(MainWindow::list);
        click(fixture.view(), indexOfLabel(fixture.view(), QStringLiteral("org.example.café")));
        QCOMPARE(JobList::shared().currentJob(), jobLabelled(QStringLiteral("org.example.café")));
        QVERIFY(window.windowTitle().startsWith(QStringLiteral("org.example.café")));
        // The job shown beside the list, with its file text.
        QCOMPARE(fixture.shownName(), QStringLiteral("org.example.café"));
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("runField"))->text(),
                 JobList::shared().currentJob()->run());
        QVERIFY(window.findChild<QsciScintilla *>(QStringLiteral("fileText"))
                    ->text()
                    .contains(QStringLiteral("<string>--crème</string>")));

        window.switchMode(MainWindow::grid);
        QVERIFY(!JobList::shared().currentJob());
        QVERIFY(fixture.shownName().isEmpty());
        QCOMPARE(Defaults::shared().selectedMode(), int(MainWindow::grid));
        QVERIFY(window.findChild<QToolButton *>(QStringLiteral("gridModeButton"))->isChecked());

        // The mode control switches too, and a new window opens in the last mode.
        window.findChild<QToolButton *>(QStringLiteral("timelineModeButton"))->click();
        QCOMPARE(window.mode(), int(MainWindow::timeline));
        MainWindow second(*fixture.editor, fixture.parts->services);
        QCOMPARE(second.mode(), int(MainWindow::timeline));
    }

    void selectionFollowsTheCurrentJobInEveryMode() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        const JobPtr backup = jobLabelled(QStringLiteral("org.example.backup"));
        const JobPtr daemon = jobLabelled(QStringLiteral("org.example.daemon"));
        for (int mode = 0; mode < MainWindow::modeCount; ++mode) {
            window.switchMode(mode);
            JobList::shared().setCurrentJob(mode == MainWindow::timeline ? backup : daemon);
            const QModelIndexList selected = fixture.view()->selectionModel()->selectedIndexes();
            QVERIFY(!selected.isEmpty());
            QCOMPARE(selected.first().data(Roles::Url).toString(),
                     *JobList::shared().currentJob()->url);
            QCOMPARE(fixture.shownName(), JobList::shared().currentJob()->label);
        }
        // The timeline selects the first start of the job.
        const QModelIndex selected = fixture.view()->selectionModel()->selectedRows().first();
        QCOMPARE(selected.data(Roles::Url).toString(), *backup->url);
        QCOMPARE(static_cast<TimelineModeView *>(window.currentModeView())
                     ->model()
                     ->firstRowOfUrl(*backup->url),
                 selected.row());
    }

    void clickingAJobMakesItCurrentInEveryMode() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        const QString label = QStringLiteral("org.example.backup");
        for (const int mode : {MainWindow::grid, MainWindow::tree, MainWindow::list}) {
            window.switchMode(mode);
            click(fixture.view(), indexOfLabel(fixture.view(), label));
            QCOMPARE(JobList::shared().currentJob(), jobLabelled(label));
            QVERIFY(Bindings::shared().isLocked() == JobList::shared().currentJob()->isLocked());
        }

        window.switchMode(MainWindow::timeline);
        auto *timeline = static_cast<TimelineModeView *>(window.currentModeView());
        // A heading selects nothing; a start selects its job.
        click(fixture.view(), timeline->model()->index(0, 0));
        QVERIFY(!JobList::shared().currentJob());
        const int start = timeline->model()->firstRowOfUrl(*jobLabelled(label)->url);
        click(fixture.view(), timeline->model()->index(start, TimelineModel::nameColumn));
        QCOMPARE(JobList::shared().currentJob(), jobLabelled(label));
    }

    void unsavedEditsKeepTheSelectionAndWarnOnce() {
        Fixture fixture;
        ScriptedInteraction interaction(Interaction::firstButton);
        MainWindow &window = *fixture.window;
        window.switchMode(MainWindow::list);
        QAbstractItemView *view = fixture.view();
        click(view, indexOfLabel(view, QStringLiteral("org.example.backup")));
        const JobPtr edited = JobList::shared().currentJob();
        Bindings::shared().setEdited(true);
        QVERIFY(window.isWindowModified());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("filterField"))->isEnabled());

        click(view, indexOfLabel(view, QStringLiteral("org.example.daemon")));
        click(view, indexOfLabel(view, QStringLiteral("org.example.job2")));
        QTRY_COMPARE(interaction.alerts().size(), 1);
        QCOMPARE(interaction.alerts().first().message, Localize::unsavedChanges());
        QCOMPARE(JobList::shared().currentJob(), edited);
        QCOMPARE(selectedJob(view), edited);
        QVERIFY(window.currentModeView()->isWarningAboutUnsaved());

        // Once edits are saved, selection works again, and the next refusal warns again.
        Bindings::shared().setEdited(false);
        click(view, indexOfLabel(view, QStringLiteral("org.example.daemon")));
        QCOMPARE(JobList::shared().currentJob(), jobLabelled(QStringLiteral("org.example.daemon")));
        Bindings::shared().setEdited(true);
        click(view, indexOfLabel(view, QStringLiteral("org.example.job2")));
        QTRY_COMPARE(interaction.alerts().size(), 2);

        // Discarding from the warning drops the edits and the current job.
        interaction.setAnswer(Interaction::firstButton + 1);
        Bindings::shared().setEdited(false);
        click(view, indexOfLabel(view, QStringLiteral("org.example.backup")));
        Bindings::shared().setEdited(true);
        click(view, indexOfLabel(view, QStringLiteral("org.example.job2")));
        QTRY_VERIFY(!Bindings::shared().isEdited());
        QVERIFY(!JobList::shared().currentJob());
    }

    void unsavedEditsKeepTheSelectionInGridAndTreeToo() {
        Fixture fixture;
        ScriptedInteraction interaction(Interaction::firstButton);
        MainWindow &window = *fixture.window;
        for (const int mode : {MainWindow::grid, MainWindow::tree}) {
            window.switchMode(mode);
            QAbstractItemView *view = fixture.view();
            click(view, indexOfLabel(view, QStringLiteral("org.example.backup")));
            const JobPtr edited = JobList::shared().currentJob();
            QVERIFY(edited);
            Bindings::shared().setEdited(true);
            click(view, indexOfLabel(view, QStringLiteral("org.example.daemon")));
            QCOMPARE(JobList::shared().currentJob(), edited);
            QCOMPARE(selectedJob(view), edited);
            Bindings::shared().setEdited(false);
        }
    }

    void modeShortcutsAskAboutUnsavedEditsAndFocusTheNewMode() {
        Fixture fixture;
        ScriptedInteraction interaction(Interaction::firstButton);
        MainWindow &window = *fixture.window;
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QAction *treeAction = window.findChild<QAction *>(QStringLiteral("modeAction1"));

        // A mode reached from the keyboard takes the focus, so the arrows move in it.
        fixture.view()->setFocus();
        QTest::keyClick(&window, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(window.mode(), int(MainWindow::list));
        QTRY_VERIFY(fixture.view()->hasFocus());
        QTest::keyClick(fixture.view(), Qt::Key_Down);
        QVERIFY(JobList::shared().currentJob());
        QCOMPARE(JobList::shared().currentJob(),
                 SectionModel::jobAt(fixture.view()->currentIndex()));

        // Leaving the mode would drop the current job, so unsaved edits are asked about; kept
        // edits keep the mode, the job and the checked mode button.
        const JobPtr edited = JobList::shared().currentJob();
        Bindings::shared().setEdited(true);
        QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
        treeAction->trigger();
        // The toolbar's mode control is not on offer meanwhile.
        QVERIFY(!window.findChild<QToolButton *>(QStringLiteral("gridModeButton"))->isEnabled());
        QCOMPARE(interaction.alerts().size(), 2);
        QCOMPARE(interaction.alerts().last().message, Localize::unsavedChanges());
        QCOMPARE(window.mode(), int(MainWindow::list));
        QCOMPARE(JobList::shared().currentJob(), edited);
        QVERIFY(window.findChild<QToolButton *>(QStringLiteral("listModeButton"))->isChecked());

        // Discarding lets the shortcut through.
        interaction.setAnswer(Interaction::firstButton + 1);
        QTest::keyClick(&window, Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(window.mode(), int(MainWindow::tree));
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(!JobList::shared().currentJob());
        QTRY_VERIFY(fixture.view()->hasFocus());
        QTest::keyClick(&window, Qt::Key_1, Qt::ControlModifier);
        QTRY_VERIFY(fixture.view()->hasFocus());
        QTest::keyClick(&window, Qt::Key_4, Qt::ControlModifier);
        QTRY_VERIFY(fixture.view()->hasFocus());
        QCOMPARE(interaction.alerts().size(), 3);
    }

    void escapeCancelsAnAlertThatOffersCancel() {
        Fixture fixture;
        DialogInteraction dialogs(fixture.window.get());
        AlertRequest confirm;
        confirm.message = QStringLiteral("Delete?");
        confirm.buttons = {Localize::deleteItem(), Localize::cancel()};
        bool wasStillOpen = false;
        // Escape first; should the alert stay, its first button ends it so the test does not
        // hang.
        QTimer::singleShot(0, this, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Escape);
        });
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &guard, [&wasStillOpen] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                wasStillOpen = true;
                box->buttons().constFirst()->click();
            }
        });
        guard.start(500);
        QCOMPARE(dialogs.alert(confirm), 1);
        QVERIFY(!wasStillOpen);
    }

    void filterIgnoresCaseAndAccentsAndOutlivesReloads() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        auto *grid = static_cast<GridModeView *>(window.modeView(MainWindow::grid));
        window.filterJobs(QStringLiteral("CAFÉ"));
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, 0).data(Roles::SectionKind).toInt(),
                 int(Kind::localAgent));

        window.switchMode(MainWindow::list);
        auto *list = static_cast<ListModeView *>(window.currentModeView());
        QCOMPARE(list->content().size(), 1);
        // A new discovery is filtered the same way.
        fixture.root.place(QStringLiteral("cafe.plist"), Kind::userAgent,
                           QStringLiteral("copy.plist"));
        JobDiscovery::reloadJobs();
        QCOMPARE(list->content().size(), 2);

        window.filterJobs(QStringLiteral("no job holds this"));
        QCOMPARE(list->content().size(), 0);
        window.switchMode(MainWindow::grid);
        QCOMPARE(grid->model()->rowCount(), 0);
        window.filterJobs(QString());
        QCOMPARE(grid->model()->rowCount(), 3);
    }

    void fileMenuOpensTheSheetsOfTheCurrentJob() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        const auto action = [&window](const char *name) {
            return window.findChild<QAction *>(QString::fromLatin1(name));
        };
        for (const char *name :
             {"newScriptAction", "editScriptAction", "editPlistAction", "showLogAction",
              "showNotesAction", "extraFoldersAction", "preferencesAction"})
            QVERIFY2(window.fileMenu()->actions().contains(action(name)), name);
        QVERIFY(window.findChild<QMenu *>(QStringLiteral("revisionsMenu")));

        // Nothing to edit, read or note without a current job, on the menu and the toolbar.
        QVERIFY(!action("editPlistAction")->isEnabled());
        QVERIFY(!action("editAction")->isEnabled());
        QVERIFY(!action("showNotesAction")->isEnabled());
        window.selectJob(jobLabelled(QStringLiteral("org.example.backup")));
        QVERIFY(action("editPlistAction")->isEnabled());
        QVERIFY(action("editAction")->isEnabled());
        QVERIFY(action("logAction")->isEnabled());

        action("editAction")->trigger();
        auto *plist = window.findChild<EditPlistSheet *>();
        QVERIFY(plist);
        QVERIFY(plist->isVisible());
        plist->close();
        QTRY_VERIFY(!window.findChild<EditPlistSheet *>());

        action("showNotesAction")->trigger();
        QTRY_VERIFY(window.findChild<NotesSheet *>());
        window.findChild<NotesSheet *>()->close();

        action("preferencesAction")->trigger();
        auto *preferences = window.findChild<PreferencesWindow *>();
        QVERIFY(preferences);
        QVERIFY(preferences->isWindow());
        preferences->close();
    }

    void fileMenuAndToolbarFollowTheCurrentJobAndItsEdits() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        const QStringList menu = {
            QStringLiteral("newJobAction"),       QStringLiteral("newScriptAction"),
            QStringLiteral("editScriptAction"),   QStringLiteral("importAction"),
            QStringLiteral("saveAction"),         QStringLiteral("duplicateAction"),
            QStringLiteral("exportAction"),       QStringLiteral("deleteAction"),
            QStringLiteral("revealAction"),       QStringLiteral("shareMenuAction"),
            QStringLiteral("showInfoAction"),     QStringLiteral("showLogAction"),
            QStringLiteral("testAction"),         QStringLiteral("editPlistAction"),
            QStringLiteral("showNotesAction"),    QStringLiteral("refreshAction"),
            QStringLiteral("extraFoldersAction"), QStringLiteral("preferencesAction"),
            QStringLiteral("quitAction")};
        const QStringList toolbar = {QStringLiteral("newAction"),   QStringLiteral("filterField"),
                                     QStringLiteral("shareAction"), QStringLiteral("modeControl"),
                                     QStringLiteral("editAction"),  QStringLiteral("logAction"),
                                     QStringLiteral("infoAction")};
        for (const QString &name : menu)
            QVERIFY2(window.findChild<QAction *>(name), qPrintable(name));
        const QStringList always = {
            QStringLiteral("editScriptAction"), QStringLiteral("extraFoldersAction"),
            QStringLiteral("preferencesAction"), QStringLiteral("quitAction")};
        const QStringList unedited = {
            QStringLiteral("newJobAction"), QStringLiteral("newScriptAction"),
            QStringLiteral("importAction"), QStringLiteral("refreshAction")};

        // No job: only what needs none.
        Q_EMIT window.fileMenu()->aboutToShow();
        QCOMPARE(enabledOf(window, menu), sorted(unedited + always));
        QCOMPARE(enabledOf(window, toolbar),
                 sorted({QStringLiteral("newAction"), QStringLiteral("filterField"),
                         QStringLiteral("modeControl")}));

        // A user agent: everything.
        window.selectJob(jobLabelled(QStringLiteral("org.example.backup")));
        QCOMPARE(enabledOf(window, menu), sorted(menu));
        QCOMPARE(enabledOf(window, toolbar), sorted(toolbar));

        // Unsaved edits: nothing that reads the folders again, leaves the job or works on
        // its file as stored; Info, Share, Save and Edit Plist stay.
        Bindings::shared().setEdited(true);
        QCOMPARE(
            enabledOf(window, menu),
            sorted(QStringList({QStringLiteral("editScriptAction"), QStringLiteral("saveAction"),
                                QStringLiteral("revealAction"), QStringLiteral("shareMenuAction"),
                                QStringLiteral("showInfoAction"), QStringLiteral("editPlistAction"),
                                QStringLiteral("showNotesAction")}) +
                   always.mid(1)));
        QCOMPARE(enabledOf(window, toolbar),
                 sorted({QStringLiteral("shareAction"), QStringLiteral("editAction"),
                         QStringLiteral("infoAction")}));
        // While it is being saved, not a second time.
        Bindings::shared().setSaving(true);
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("saveAction"))->isEnabled());
        Bindings::shared().setSaving(false);
        Bindings::shared().setEdited(false);
        QCOMPARE(enabledOf(window, toolbar), sorted(toolbar));

        // A system job while system jobs may not be edited: no saving, copying or editing
        // its file, but it can be tested, logged and exported.
        window.selectJob(madeJob(Kind::systemAgent, QStringLiteral("org.example.system"),
                                 QStringLiteral("/usr/lib/vandra/LaunchAgents/system.plist")));
        const QStringList locked = {QStringLiteral("saveAction"), QStringLiteral("duplicateAction"),
                                    QStringLiteral("deleteAction"),
                                    QStringLiteral("editPlistAction")};
        QCOMPARE(enabledOf(window, locked), QStringList());
        QCOMPARE(enabledOf(window, {QStringLiteral("exportAction"), QStringLiteral("testAction"),
                                    QStringLiteral("showLogAction"), QStringLiteral("logAction")})
                     .size(),
                 4);
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("editAction"))->isEnabled());

        // A login item has no job file: no test, log or export either.
        window.selectJob(madeJob(Kind::loginItemSystemPreferences, QStringLiteral("Clock"),
                                 QStringLiteral("LoginItem.SystemPreferences.Clock")));
        QCOMPARE(enabledOf(window, {QStringLiteral("exportAction"), QStringLiteral("testAction"),
                                    QStringLiteral("showLogAction"), QStringLiteral("logAction")}),
                 QStringList());
        QCOMPARE(enabledOf(window, {QStringLiteral("deleteAction"), QStringLiteral("revealAction"),
                                    QStringLiteral("shareAction")})
                     .size(),
                 3);
        // A job without a label has no log on the toolbar, though the menu offers it.
        window.selectJob(madeJob(Kind::userAgent, QString(), QStringLiteral("/tmp/x.plist")));
        QVERIFY(window.findChild<QAction *>(QStringLiteral("showLogAction"))->isEnabled());
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("logAction"))->isEnabled());
    }

    void anOpenSheetTakesTheFileMenuAway() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        window.selectJob(jobLabelled(QStringLiteral("org.example.backup")));
        window.findChild<QAction *>(QStringLiteral("showNotesAction"))->trigger();
        QTRY_VERIFY(window.commands()->hasSheet());
        Q_EMIT window.fileMenu()->aboutToShow();
        for (QAction *action : window.fileMenu()->actions()) {
            QVERIFY2(action->isSeparator() || !action->isEnabled(),
                     qPrintable(action->objectName() + action->text()));
        }
        Q_EMIT window.viewMenu()->aboutToShow();
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("showSystemJobsAction"))->isEnabled());

        window.findChild<NotesSheet *>()->close();
        QTRY_VERIFY(!window.commands()->hasSheet());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("newJobAction"))->isEnabled());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("quitAction"))->isEnabled());
    }

    void everyModeOffersTheJobUnderThePointer() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        for (int mode = 0; mode < MainWindow::modeCount; ++mode) {
            window.switchMode(mode);
            ModeView *modeView = window.currentModeView();
            QAbstractItemView *view = modeView->itemView();
            const QModelIndex index = firstJobIndex(*modeView);
            QVERIFY2(index.isValid(), qPrintable(QString::number(mode)));
            const JobPtr job = modeView->jobAt(index);
            view->scrollTo(index);
            QSignalSpy requested(modeView, &ModeView::jobMenuRequested);
            const QPoint at = view->visualRect(index).center();
            QContextMenuEvent event(QContextMenuEvent::Mouse, at,
                                    view->viewport()->mapToGlobal(at));
            QApplication::sendEvent(view->viewport(), &event);
            QCOMPARE(requested.size(), 1);
            QCOMPARE(requested.first().first().value<JobPtr>(), job);

            // Dragging it hands out its file.
            const std::unique_ptr<QMimeData> data(JobDrag::mimeData(job));
            QVERIFY(data);
            QCOMPARE(data->urls(), QList<QUrl>{QUrl::fromLocalFile(*job->url)});
        }
    }

    void jobMenuByModeAndKind() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        JobCommands &commands = *window.commands();
        QList<QUrl> opened;
        commands.setUrlOpener([&opened](const QUrl &url) {
            opened.append(url);
            return true;
        });
        const JobPtr agent = jobLabelled(QStringLiteral("org.example.backup"));
        const QStringList full = {QStringLiteral("jobMenuTitle"), QStringLiteral("jobMenuReveal"),
                                  QStringLiteral("jobMenuDelete")};
        for (int mode = 0; mode < MainWindow::modeCount; ++mode) {
            const std::unique_ptr<QMenu> menu(commands.jobMenu(agent, mode, &window));
            // Timeline rows are runs; deleting the job from there is not offered.
            QCOMPARE(actionNames(*menu), mode == MainWindow::timeline ? full.mid(0, 2) : full);
            QCOMPARE(menu->actions().first()->text(), QStringLiteral("org.example.backup"));
        }
        // Nor while the current job has unsaved edits.
        Bindings::shared().setEdited(true);
        QCOMPARE(actionNames(*std::unique_ptr<QMenu>(commands.jobMenu(agent, 0, &window))),
                 full.mid(0, 2));
        Bindings::shared().setEdited(false);

        // The title is the label in the file when the form renamed the job.
        const JobPtr renamed =
            madeJob(Kind::userAgent, QStringLiteral("new name"), QStringLiteral("/tmp/a.plist"));
        renamed->originalLabel = QStringLiteral("old name");
        QCOMPARE(std::unique_ptr<QMenu>(commands.jobMenu(renamed, 0, &window))
                     ->actions()
                     .first()
                     ->text(),
                 QStringLiteral("old name"));

        // An application's login item opens the application and cannot be deleted.
        const JobPtr application =
            madeJob(Kind::loginItemApplication, QStringLiteral("Helper"),
                    QStringLiteral("/usr/lib/vandra/Applications/Helper.app"));
        const std::unique_ptr<QMenu> menu(commands.jobMenu(application, 1, &window));
        QCOMPARE(actionNames(*menu),
                 QStringList({QStringLiteral("jobMenuTitle"), QStringLiteral("jobMenuReveal"),
                              QStringLiteral("jobMenuOpen")}));
        menu->findChild<QAction *>(QStringLiteral("jobMenuOpen"))->trigger();
        QCOMPARE(opened.last(), QUrl::fromLocalFile(*application->url));

        // The session's login items are revealed as their autostart folder.
        const JobPtr loginItem = madeJob(Kind::loginItemSystemPreferences, QStringLiteral("Clock"),
                                         QStringLiteral("LoginItem.SystemPreferences.Clock"));
        const std::unique_ptr<QMenu> itemMenu(commands.jobMenu(loginItem, 2, &window));
        itemMenu->findChild<QAction *>(QStringLiteral("jobMenuReveal"))->trigger();
        QCOMPARE(opened.last(), QUrl::fromLocalFile(Locations::shared().userAutostart()));
        QVERIFY(QFileInfo(Locations::shared().userAutostart()).isDir());
    }

    void deletingFromTheJobMenuAsksAboutThatJob() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        ScriptedInteraction interaction(Interaction::firstButton + 1);
        window.selectJob(jobLabelled(QStringLiteral("org.example.backup")));
        const JobPtr other = jobLabelled(QStringLiteral("org.example.job2"));
        const std::unique_ptr<QMenu> menu(window.commands()->jobMenu(other, 0, &window));
        menu->findChild<QAction *>(QStringLiteral("jobMenuDelete"))->trigger();
        QCOMPARE(JobList::shared().currentJob(), other);
        QCOMPARE(interaction.alerts().size(), 1);
        QVERIFY(interaction.alerts().first().message.contains(QStringLiteral("org.example.job2")));
    }

    void toolbarCanBeHiddenAndStaysSo() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        QAction *show = window.findChild<QAction *>(QStringLiteral("showToolbarAction"));
        QVERIFY(window.viewMenu()->actions().contains(show));
        QVERIFY(show->isChecked());
        show->trigger();
        QVERIFY(!window.toolbar()->isVisible());
        // Closing the window is not the user hiding the toolbar.
        window.hide();
        window.show();
        QCOMPARE(Defaults::shared().value(QStringLiteral("showToolbar")), QVariant(false));
        MainWindow next(*fixture.editor, fixture.parts->services);
        QVERIFY(next.toolbar()->isHidden());
        show->trigger();
        QVERIFY(window.toolbar()->isVisible());
        QCOMPARE(Defaults::shared().value(QStringLiteral("showToolbar")), QVariant(true));
    }

    void helpMenuOffersTheKeyReferenceAndAbout() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        for (const char *name : {"helpAction", "keyReferenceAction", "aboutAction"})
            QVERIFY2(window.findChild<QAction *>(QString::fromLatin1(name)), name);
        const QUrl keys = HelpPage::url().resolved(QUrl(QStringLiteral("keys.html")));
        QVERIFY(QFileInfo::exists(keys.toLocalFile()));
        window.findChild<QAction *>(QStringLiteral("aboutAction"))->trigger();
        auto *about = window.findChild<AboutBox *>();
        QVERIFY(about);
        // Which program runs the jobs, as far as the helper service has told.
        QVERIFY2(about->text().endsWith(QStringLiteral("Jobs are run by: ") +
                                        loadBackendName(fixture.parts->view.status)),
                 qPrintable(about->text()));
        about->close();
    }

    void screenshotsShowTheFileMenuAndAJobMenu() {
        Fixture fixture;
        const QTemporaryDir folder;
        QVERIFY(CommandScreenshots::write(folder.path(), *fixture.window));
        for (const char *name : {"filemenu.png", "contextmenu.png"}) {
            const QImage picture(QDir(folder.path()).filePath(QString::fromLatin1(name)));
            QVERIFY2(!picture.isNull() && picture.width() > 50, name);
        }
        QVERIFY(JobList::shared().currentJob());
    }

    void viewMenuShowsColumnsAndSystemJobs() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        QMenu *view = window.viewMenu();
        auto *columns = window.findChild<QMenu *>(QStringLiteral("columnsMenu"));
        auto *system = window.findChild<QAction *>(QStringLiteral("showSystemJobsAction"));
        Q_EMIT view->aboutToShow();
        QVERIFY(!columns->menuAction()->isEnabled());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("modeAction0"))->isChecked());

        window.switchMode(MainWindow::list);
        Q_EMIT view->aboutToShow();
        QVERIFY(columns->menuAction()->isEnabled());
        QAction *summary = columns->actions().at(int(ListColumn::summary));
        QCOMPARE(summary->text(), Localize::summary());
        QVERIFY(summary->isChecked());
        summary->trigger();
        auto *list = static_cast<ListModeView *>(window.currentModeView());
        QVERIFY(!list->isColumnVisible(ListColumn::summary));
        // Hidden columns stay hidden in the next window.
        ListModeView next(fixture.parts->view.services);
        QVERIFY(!next.isColumnVisible(ListColumn::summary));
        QVERIFY(next.isColumnVisible(ListColumn::run));

        QVERIFY(!system->isChecked());
        system->trigger();
        QVERIFY(Defaults::shared().showSystemJobs());
        QTRY_COMPARE(list->content().size(), 6);
        Bindings::shared().setEdited(true);
        Q_EMIT view->aboutToShow();
        QVERIFY(!system->isEnabled());
        // Modes stay on offer: choosing one asks about the edits.
        QVERIFY(window.findChild<QAction *>(QStringLiteral("modeAction1"))->isEnabled());
    }

    void treeRemembersOpenSections() {
        Fixture fixture;
        fixture.window->switchMode(MainWindow::tree);
        auto *tree = static_cast<TreeModeView *>(fixture.window->currentModeView());
        auto *view = static_cast<QTreeView *>(tree->itemView());
        const QModelIndex agents = tree->indexOfSection(Kind::userAgent);
        QVERIFY(view->isExpanded(agents));
        tree->countButton(Kind::userAgent)->click();
        QVERIFY(!view->isExpanded(tree->indexOfSection(Kind::userAgent)));

        TreeModeView next(fixture.parts->view.services);
        next.setJobs(JobList::shared().jobs());
        auto *nextView = static_cast<QTreeView *>(next.itemView());
        QVERIFY(!nextView->isExpanded(next.indexOfSection(Kind::userAgent)));
        QVERIFY(nextView->isExpanded(next.indexOfSection(Kind::localAgent)));
        // Selecting a job of a closed section opens it.
        next.showCurrentJob(jobLabelled(QStringLiteral("org.example.job2")));
        QVERIFY(nextView->isExpanded(next.indexOfSection(Kind::userAgent)));
    }

    void startUpWatchesTheFolders() {
        UiTestRoot root;
        root.place(QStringLiteral("backup.plist"), Kind::localAgent);
        Defaults::shared().setValue(UserDefaultsKeys::selectedMode, int(MainWindow::list));
        QDir(*Kinds::url(Kind::userAgent)).removeRecursively();

        AppController controller;
        controller.prepare();
        // The user's agents folder is made at start, and the list is being read meanwhile.
        QVERIFY(QFileInfo::exists(*Kinds::url(Kind::userAgent)));
        QVERIFY(JobDiscovery::isReloading());
        QSignalSpy started(&controller, &AppController::monitorsStarted);
        controller.finishLaunching();
        auto *list = static_cast<ListModeView *>(controller.window()->currentModeView());
        // The list is read on a worker and shown when it is in.
        QTRY_COMPARE(list->content().size(), 1);
        QVERIFY(started.count() == 1 || started.wait(5000));

        root.place(QStringLiteral("job2.plist"), Kind::userAgent);
        root.place(QStringLiteral("daemon.plist"), Kind::localDaemon);
        QTRY_COMPARE_WITH_TIMEOUT(list->content().size(), 3, 10000);
    }

    void quittingWithUnsavedEditsAsksFirst() {
        Fixture fixture;
        ScriptedInteraction interaction(Interaction::firstButton);
        MainWindow &window = *fixture.window;
        QVERIFY(window.close());
        window.show();

        Bindings::shared().setEdited(true);
        QVERIFY(!window.close());
        QCOMPARE(interaction.alerts().size(), 1);
        QCOMPARE(interaction.alerts().first().buttons,
                 (QStringList{Localize::check(), Localize::discardChanges()}));
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(!window.isTerminating());

        interaction.setAnswer(Interaction::firstButton + 1);
        QVERIFY(window.close());
        QVERIFY(!Bindings::shared().isEdited());
    }

    void jobUrlsSelectTheirJobShortlyAfter() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        const JobPtr daemon = jobLabelled(QStringLiteral("org.example.daemon"));
        window.openUrls({QStringLiteral("https://example.org/"), JobUrl::make(*daemon->url)});
        QTest::qWait(500);
        // Only the first URL of a batch counts.
        QVERIFY(!JobList::shared().currentJob());

        window.openUrls({JobUrl::make(*daemon->url)});
        QVERIFY(!JobList::shared().currentJob());
        QTRY_COMPARE(JobList::shared().currentJob(), daemon);

        // Not while the user keeps unsaved edits, and not for a host that is not Base64.
        const JobPtr backup = jobLabelled(QStringLiteral("org.example.backup"));
        {
            ScriptedInteraction keep(Interaction::firstButton);
            Bindings::shared().setEdited(true);
            window.openUrls({JobUrl::make(*backup->url)});
            QCOMPARE(keep.alerts().size(), 1);
            Bindings::shared().setEdited(false);
        }
        window.openUrls({QStringLiteral("vandra-job://not*base64")});
        QTest::qWait(500);
        QCOMPARE(JobList::shared().currentJob(), daemon);

        // Not while a dialog is open: what it asks about is the current job.
        QMessageBox panel(QMessageBox::Information, QStringLiteral("Export"),
                          QStringLiteral("Export?"), QMessageBox::Ok, &window);
        panel.open();
        QTRY_COMPARE(QApplication::activeModalWidget(), &panel);
        window.openUrls({JobUrl::make(*backup->url)});
        QTest::qWait(500);
        QCOMPARE(JobList::shared().currentJob(), daemon);
        panel.close();
        window.openUrls({JobUrl::make(*backup->url)});
        QTRY_COMPARE(JobList::shared().currentJob(), backup);

        // Starting the program again brings back a window the user had minimized.
        window.showMinimized();
        QTRY_VERIFY(window.isMinimized());
        window.openUrls({});
        QTRY_VERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
    }
};

VANDRA_TEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"

// The detail editor in the window, driven through its controls by object name, with the real
// helpers behind it.

#include "actions/testrun.h"
#include "common/testmain.h"
#include "schedule/ruleeditormodel.h"
#include "store/editortestsupport.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/common/codeview.h"
#include "ui/common/helppage.h"
#include "ui/common/icons.h"
#include "ui/editor/detaileditor.h"
#include "ui/editor/ruleeditorwidget.h"
#include "ui/editor/rulerowwidget.h"
#include "ui/editor/testpopover.h"
#include "ui/editor/whenpage.h"
#include "ui/modes/listmodeview.h"
#include "ui/window/joburl.h"
#include "ui/window/mainwindow.h"
#include "windowparts.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <Qsci/qscilexer.h>

using namespace Vandra;

namespace {

QString dataFile(const QString &name) {
    return qEnvironmentVariable("VANDRA_TEST_DATA") + QStringLiteral("/ui/") + name;
}

// Copies a job file of tests/data/ui into the folder of kind.
QString place(const QString &name, Kind kind) {
    const QString target = EditorRig::file(kind, name);
    QFile::remove(target);
    QFile::copy(dataFile(name), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    return target;
}

} // namespace

// Takes the URLs the program hands to the desktop to open.
class UrlCatcher final : public QObject {
    Q_OBJECT

public:
    UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestDetailEditor final : public QObject {
    Q_OBJECT

private:
    // The helpers, the editor and a shown window over a machine with a few jobs.
    struct Fixture {
        EditorRig rig;
        WindowParts parts{*rig.controller, rig.revisions};
        std::unique_ptr<MainWindow> window;
        QString echo;
        QString backup;
        QString daemon;

        Fixture() {
            echo = place(QStringLiteral("echo.plist"), Kind::userAgent);
            backup = place(QStringLiteral("backup.plist"), Kind::userAgent);
            daemon = place(QStringLiteral("daemon.plist"), Kind::localDaemon);
            JobDiscovery::reloadJobs();
            window = std::make_unique<MainWindow>(*rig.editor, parts.services);
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window.get()));
        }
        ~Fixture() {
            Bindings::shared().setEdited(false);
            window.reset();
        }

        JobPtr select(const QString &path) const {
            const JobPtr job = JobList::shared().jobWithUrl(path);
            window->selectJob(job);
            return job;
        }
        template <typename Control> Control *find(const QString &name) const {
            auto *control = window->findChild<Control *>(name);
            if (!control)
                qWarning("no control %s", qPrintable(name));
            return control;
        }
        void showPage(DetailEditor::Page page) const {
            window->detailEditor()->tabs()->setCurrentIndex(page);
        }
        // Types into a field as the user would.
        void type(const QString &name, const QString &text) const {
            auto *field = find<QLineEdit>(name);
            field->setFocus();
            field->selectAll();
            if (text.isEmpty())
                QTest::keyClick(field, Qt::Key_Backspace);
            else
                QTest::keyClicks(field, text);
        }
        // Waits for the reply and for the list read after it.
        bool waitForSave() const {
            QDeadlineTimer deadline(30000);
            while (Bindings::shared().isSaving() && !deadline.hasExpired())
                QTest::qWait(20);
            EditorRig::waitForTheList();
            return !Bindings::shared().isSaving();
        }
    };

    static bool hasChange(const JobPtr &job, Change change) {
        return job->isChangesSet() && job->changes().contains(change);
    }

private Q_SLOTS:
    void initTestCase() { Icons::setUp(); }
    void init() { Defaults::shared().setValue(UserDefaultsKeys::automaticHelp, true); }

    void formControlsChangeTheJob() {
        Fixture fixture;
        const JobPtr job = fixture.select(fixture.echo);
        MainWindow &window = *fixture.window;
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("nameField"))->text(),
                 QStringLiteral("org.example.echo"));
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("runField"))->text(),
                 QStringLiteral("/bin/echo hello"));
        QVERIFY(fixture.find<QCheckBox>(QStringLiteral("enabledBox"))->isChecked());
        QVERIFY(!fixture.find<QPushButton>(QStringLiteral("saveButton"))->isEnabled());

        fixture.type(QStringLiteral("nameField"), QStringLiteral("org.example.renamed"));
        QCOMPARE(job->label, QStringLiteral("org.example.renamed"));
        QVERIFY(hasChange(job, Change::generic));
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(window.isWindowModified());
        QVERIFY(window.windowTitle().contains(QStringLiteral("[*]")));
        QVERIFY(fixture.find<QPushButton>(QStringLiteral("saveButton"))->isEnabled());
        QVERIFY(window.findChild<QAction *>(QStringLiteral("saveAction"))->isEnabled());

        fixture.type(QStringLiteral("runField"), QStringLiteral("/bin/echo bye"));
        QCOMPARE(job->run(), QStringLiteral("/bin/echo bye"));
        QVERIFY(hasChange(job, Change::run));

        fixture.find<QCheckBox>(QStringLiteral("enabledBox"))->click();
        QVERIFY(!job->isEnabled());
        QVERIFY(hasChange(job, Change::selfUpdating));

        // Choosing a program appends it to the command, quoted when it has a space.
        const QString program = fixture.rig.root.write(QStringLiteral("my tool"), "#!/bin/sh\n");
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                           QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                           QFile::ExeGroup);
        fixture.rig.answers.openPaths = {program};
        fixture.find<QPushButton>(QStringLiteral("chooseButton"))->click();
        QCOMPARE(job->run(), QStringLiteral("/bin/echo bye \"") + program + u'"');
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("runField"))->text(), job->run());

        // The kind menu: a local daemon may run as another user.
        auto *kinds = fixture.find<QComboBox>(QStringLiteral("kindMenu"));
        QCOMPARE(kinds->currentIndex(), Kinds::rawValue(Kind::userAgent));
        kinds->setCurrentIndex(Kinds::rawValue(Kind::localDaemon));
        Q_EMIT kinds->activated(Kinds::rawValue(Kind::localDaemon));
        QCOMPARE(job->kind, Kind::localDaemon);
        QVERIFY(Bindings::shared().isUserNameEnabled());
        fixture.showPage(DetailEditor::advancedPage);
        QVERIFY(fixture.find<QLineEdit>(QStringLiteral("userNameField"))->isEnabled());
        Q_EMIT kinds->activated(Kinds::rawValue(Kind::localAgent));
        QVERIFY(!fixture.find<QLineEdit>(QStringLiteral("userNameField"))->isEnabled());

        // The file view shows the file as the save would write it.
        QTRY_VERIFY(window.findChild<CodeView *>(QStringLiteral("fileText"))
                        ->text()
                        .contains(QStringLiteral("<string>bye</string>")));
        QVERIFY(!EditorRig::fileDict(fixture.echo)
                     .value(QStringLiteral("ProgramArguments"))
                     .toStringList()
                     .value_or(QStringList())
                     .contains(QStringLiteral("bye")));
    }

    void advancedControlsChangeTheJob() {
        Fixture fixture;
        const JobPtr job = fixture.select(fixture.echo);
        fixture.showPage(DetailEditor::advancedPage);
        const auto box = [&](const char *name) {
            return fixture.find<QCheckBox>(QString::fromLatin1(name));
        };
        QVERIFY(box("lowPriorityIOBox")->isChecked());
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("workingDirectoryField"))->text(),
                 QStringLiteral("/tmp"));
        // Kept alive, so the successful-exit condition is on offer.
        QVERIFY(box("successfulExitBox")->isEnabled());

        // Unchecking writes false; it does not remove the key.
        box("lowPriorityIOBox")->click();
        QCOMPARE(job->plist->value(QStringLiteral("LowPriorityIO")), PlistValue(false));
        QVERIFY(hasChange(job, Change::selfUpdating));
        const QList<std::pair<const char *, QString>> keys = {
            {"legacyTimersBox", QStringLiteral("LegacyTimers")},
            {"sessionCreateBox", QStringLiteral("SessionCreate")},
            {"launchOnlyOnceBox", QStringLiteral("LaunchOnlyOnce")},
            {"abandonProcessGroupBox", QStringLiteral("AbandonProcessGroup")},
        };
        for (const auto &[name, key] : keys) {
            box(name)->click();
            QCOMPARE(job->plist->value(key), PlistValue(true));
        }
        box("successfulExitBox")->click();
        QCOMPARE(job->isKeepAliveSuccessfulExitEnabled, box("successfulExitBox")->isChecked());
        QVERIFY(hasChange(job, Change::keepAlive));

        auto *sessionMenu = fixture.find<QComboBox>(QStringLiteral("sessionTypeMenu"));
        QVERIFY(!sessionMenu->isEnabled());
        box("limitLoadToSessionTypeBox")->click();
        QVERIFY(job->isLimitLoadToSessionTypeEnabled());
        QVERIFY(sessionMenu->isEnabled());
        Q_EMIT sessionMenu->activated(2);
        QCOMPARE(job->limitLoadToSessionTypeIndex(), 2);
        QVERIFY(hasChange(job, Change::limitLoadToSessionType));

        // Emptying a text field removes its key.
        fixture.type(QStringLiteral("workingDirectoryField"), QString());
        QVERIFY(!job->plist->contains(QStringLiteral("WorkingDirectory")));
        fixture.type(QStringLiteral("standardOutPathField"), QStringLiteral("/tmp/out.log"));
        QCOMPARE(job->plist->value(QStringLiteral("StandardOutPath")),
                 PlistValue(QStringLiteral("/tmp/out.log")));
        fixture.type(QStringLiteral("machServicesField"), QStringLiteral("org.example.port"));
        QCOMPARE(job->machServicesKey(), QStringLiteral("org.example.port"));
        QVERIFY(hasChange(job, Change::machServices));

        // A Choose button fills its field and the job.
        fixture.rig.answers.openPaths = {QStringLiteral("/var/log/errors.log"),
                                         QStringLiteral("/srv/watched")};
        fixture.find<QPushButton>(QStringLiteral("standardErrorPathChooseButton"))->click();
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("standardErrorPathField"))->text(),
                 QStringLiteral("/var/log/errors.log"));
        QCOMPARE(job->plist->value(QStringLiteral("StandardErrorPath")),
                 PlistValue(QStringLiteral("/var/log/errors.log")));
        fixture.find<QPushButton>(QStringLiteral("watchPathsChooseButton"))->click();
        QCOMPARE(job->watchPath(), QStringLiteral("/srv/watched"));
        QVERIFY(hasChange(job, Change::watchPath));
        QVERIFY(Bindings::shared().isEdited());

        // With no job every control is empty and locked.
        Bindings::shared().setEdited(false);
        fixture.window->selectJob({});
        QVERIFY(!box("lowPriorityIOBox")->isChecked());
        QVERIFY(!box("lowPriorityIOBox")->isEnabled());
        QVERIFY(fixture.find<QLineEdit>(QStringLiteral("standardOutPathField"))->text().isEmpty());
        QCOMPARE(sessionMenu->currentIndex(), 0);
    }

    void whenPageFillsFromTheJobAndSavesItsRows() {
        Fixture fixture;
        QVERIFY(fixture.rig.serviceStarted);
        fixture.select(fixture.backup);
        fixture.showPage(DetailEditor::whenPage);
        WhenPage *when = fixture.window->detailEditor()->when();
        const auto rows = [&] { return when->ruleEditor()->rowWidgets(); };
        QCOMPARE(rows().size(), 1);
        QVERIFY(fixture.find<QCheckBox>(QStringLiteral("scheduledSwitch"))->isChecked());
        QVERIFY(!fixture.find<QCheckBox>(QStringLiteral("runAtLoadSwitch"))->isChecked());
        // Every day at 9:30: the kind menu and a time picker.
        auto *kindMenu = rows().first()->findChild<QComboBox *>(QStringLiteral("ruleControl0"));
        QCOMPARE(kindMenu->currentText(), Localize::everyDay());
        auto *time = rows().first()->findChild<QTimeEdit *>(QStringLiteral("ruleControl1"));
        QCOMPARE(time->time(), QTime(9, 30));

        time->setTime(QTime(21, 15));
        QVERIFY(Bindings::shared().isEdited());
        // A second rule, every 2 hours.
        fixture.find<QToolButton>(QStringLiteral("addRuleButton"))->click();
        QCOMPARE(rows().size(), 2);
        auto *unit = rows().last()->findChild<QComboBox *>(QStringLiteral("ruleControl1"));
        Q_EMIT unit->activated(2);
        QTRY_COMPARE(rows().size(), 2);
        auto *interval = rows().last()->findChild<QLineEdit *>(QStringLiteral("ruleControl2"));
        QVERIFY(interval);
        interval->setFocus();
        QTest::keyClicks(interval, QStringLiteral("2"));
        QCOMPARE(fixture.rig.editor->ruleEditor().rows().last().values.at(2),
                 RuleValue(RuleTextField{QStringLiteral("2")}));
        fixture.find<QCheckBox>(QStringLiteral("runAtLoadSwitch"))->click();

        // A warning from the file's schedule shows only while there is one.
        auto *warning = fixture.find<QLabel>(QStringLiteral("scheduleWarning"));
        when->setScheduleWarnings({QStringLiteral("one entry")});
        QVERIFY(warning->isVisible());
        when->setScheduleWarnings({});
        QVERIFY(!warning->isVisible());

        QTest::keyClick(fixture.window.get(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(Bindings::shared().isSaving());
        QVERIFY(fixture.waitForSave());
        const PlistDict saved = EditorRig::fileDict(fixture.backup);
        QCOMPARE(saved.value(QStringLiteral("RunAtLoad")), PlistValue(true));
        QCOMPARE(saved.value(QStringLiteral("StartInterval")), PlistValue(qint64(7200)));
        const PlistValue entries = saved.value(QStringLiteral("StartCalendarInterval"));
        const PlistDict *calendar = entries.dict();
        if (const PlistArray *list = entries.array(); list && list->size() == 1)
            calendar = list->first().dict();
        QVERIFY(calendar);
        QCOMPARE(calendar->value(QStringLiteral("Hour")), PlistValue(qint64(21)));
        QCOMPARE(calendar->value(QStringLiteral("Minute")), PlistValue(qint64(15)));
        // The reloaded job shows the saved rules.
        QTRY_COMPARE(rows().size(), 2);
    }

    void saveWritesTheFileThroughTheHelpersAndEndsClean() {
        Fixture fixture;
        QVERIFY(fixture.rig.serviceStarted);
        fixture.select(fixture.echo);
        fixture.type(QStringLiteral("runField"), QStringLiteral("/bin/echo saved"));
        fixture.find<QPushButton>(QStringLiteral("saveButton"))->click();
        // Locked with the progress shown until the helper replies.
        QVERIFY(Bindings::shared().isSaving());
        QVERIFY(!fixture.find<QLineEdit>(QStringLiteral("runField"))->isEnabled());
        QVERIFY(fixture.find<QWidget>(QStringLiteral("saveProgress"))->isVisible());
        QVERIFY(!fixture.find<QWidget>(QStringLiteral("helpButton"))->isVisible());
        QVERIFY(fixture.waitForSave());

        const PlistDict saved = EditorRig::fileDict(fixture.echo);
        QCOMPARE(saved.value(QStringLiteral("ProgramArguments")),
                 PlistValue(QStringList{QStringLiteral("/bin/echo"), QStringLiteral("saved")}));
        // Keys the form does not show survive.
        QCOMPARE(saved.value(QStringLiteral("X-Custom")), PlistValue(QStringLiteral("kept")));
        QVERIFY(fixture.rig.answers.alerts.isEmpty());
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(!fixture.window->isWindowModified());
        QVERIFY(!fixture.find<QPushButton>(QStringLiteral("saveButton"))->isEnabled());
        QVERIFY(!fixture.find<QWidget>(QStringLiteral("saveProgress"))->isVisible());
        // The list was read again: the saved job is current, with the new file text.
        const JobPtr current = JobList::shared().currentJob();
        QVERIFY(current);
        QCOMPARE(current->run(), QStringLiteral("/bin/echo saved"));
        QCOMPARE(Bindings::shared().isLocked(), current->isLocked());
        QVERIFY(fixture.find<CodeView>(QStringLiteral("fileText"))
                    ->text()
                    .contains(QStringLiteral("<string>saved</string>")));

        // An empty Run field is refused with the reason, and the edits stay.
        fixture.type(QStringLiteral("runField"), QString());
        fixture.find<QPushButton>(QStringLiteral("saveButton"))->click();
        QCOMPARE(fixture.rig.answers.alerts.size(), 1);
        QCOMPARE(
            fixture.rig.answers.alerts.first().message,
            Localize::format(Localize::text("Value for %@ cannot be empty"), {Localize::run()}));
        QVERIFY(Bindings::shared().isEdited());
        QVERIFY(!Bindings::shared().isSaving());
    }

    void discardRestoresTheStoredJob() {
        Fixture fixture;
        const JobPtr job = fixture.select(fixture.echo);
        fixture.type(QStringLiteral("nameField"), QStringLiteral("changed"));
        fixture.find<QPushButton>(QStringLiteral("discardButton"))->click();
        // The list is read again on a worker.
        QTRY_VERIFY(!JobDiscovery::isReloading());
        QVERIFY(!Bindings::shared().isEdited());
        QVERIFY(!JobList::shared().currentJob());
        QVERIFY(fixture.find<QLineEdit>(QStringLiteral("nameField"))->text().isEmpty());
        const JobPtr again = fixture.select(fixture.echo);
        QVERIFY(again != job);
        QCOMPARE(again->label, QStringLiteral("org.example.echo"));
        QCOMPARE(fixture.find<QLineEdit>(QStringLiteral("nameField"))->text(),
                 QStringLiteral("org.example.echo"));
    }

    void everyWayOfLeavingAnEditedJobAsks() {
        Fixture fixture;
        MainWindow &window = *fixture.window;
        ScriptedAnswers &answers = fixture.rig.answers;
        window.switchMode(MainWindow::list);
        const JobPtr edited = fixture.select(fixture.echo);
        const auto edit = [&] { fixture.type(QStringLiteral("nameField"), QStringLiteral("x")); };
        edit();
        const auto lastAlert = [&] { return answers.alerts.last().message; };

        // Kept edits: selection, mode, job URL and closing all stay where they are.
        QAbstractItemView *view = window.currentModeView()->itemView();
        const QModelIndexList daemonRows = view->model()->match(
            view->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("org.example.daemon"), 1,
            Qt::MatchExactly | Qt::MatchRecursive);
        QVERIFY(!daemonRows.isEmpty());
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                          view->visualRect(daemonRows.first()).center());
        QTRY_COMPARE(answers.alerts.size(), 1);
        window.switchMode(MainWindow::grid);
        QCOMPARE(answers.alerts.size(), 2);
        window.openUrls({JobUrl::make(fixture.daemon)});
        QCOMPARE(answers.alerts.size(), 3);
        QVERIFY(!window.close());
        QCOMPARE(answers.alerts.size(), 4);
        QCOMPARE(lastAlert(), Localize::unsavedChanges());
        QCOMPARE(JobList::shared().currentJob(), edited);
        QCOMPARE(window.mode(), int(MainWindow::list));
        QVERIFY(Bindings::shared().isEdited());

        // Discarding goes on with what the user asked for.
        answers.buttons = {Interaction::firstButton + 1};
        window.switchMode(MainWindow::grid);
        QCOMPARE(window.mode(), int(MainWindow::grid));
        QVERIFY(!Bindings::shared().isEdited());

        fixture.select(fixture.echo);
        edit();
        answers.buttons = {Interaction::firstButton + 1};
        window.openUrls({JobUrl::make(fixture.daemon)});
        QTRY_COMPARE(JobList::shared().currentJob(), JobList::shared().jobWithUrl(fixture.daemon));

        fixture.select(fixture.echo);
        edit();
        answers.buttons = {Interaction::firstButton + 1};
        QVERIFY(window.close());
        QVERIFY(!Bindings::shared().isEdited());
        QCOMPARE(answers.alerts.size(), 7);
    }

    void kindMenuOffersTheEditableKinds_data() {
        QTest::addColumn<bool>("editSystemJobs");
        QTest::newRow("off") << false;
        QTest::newRow("on") << true;
    }

    void kindMenuOffersTheEditableKinds() {
        QFETCH(bool, editSystemJobs);
        Fixture fixture;
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, editSystemJobs);
        // The lists are taken once per process, before the menu is built.
        Kinds::resetForTesting();
        MainWindow window(*fixture.rig.editor, fixture.parts.services);
        auto *menu = window.findChild<QComboBox *>(QStringLiteral("kindMenu"));
        auto *items = qobject_cast<QStandardItemModel *>(menu->model());
        QCOMPARE(items->rowCount(), int(Kinds::allCases().size()));
        QList<Kind> enabled;
        for (int row = 0; row < items->rowCount(); ++row) {
            QCOMPARE(items->item(row)->text(), Kinds::title(Kinds::allCases().at(row)));
            QVERIFY(!items->item(row)->icon().isNull());
            if (items->item(row)->isEnabled())
                enabled.append(Kinds::allCases().at(row));
        }
        QList<Kind> expected = {Kind::userAgent, Kind::localAgent, Kind::localDaemon};
        if (editSystemJobs)
            expected += {Kind::systemAgent, Kind::systemDaemon};
        std::sort(expected.begin(), expected.end());
        QCOMPARE(enabled, expected);
        Defaults::shared().setValue(UserDefaultsKeys::editSystemJobs, false);
        Kinds::resetForTesting();
    }

    void testPopoverShowsTheOutputOfARealRun() {
        Fixture fixture;
        QVERIFY(fixture.rig.serviceStarted);
        fixture.select(fixture.echo);
        auto *test = fixture.find<QPushButton>(QStringLiteral("testButton"));
        DetailEditor *editor = fixture.window->detailEditor();
        test->click();
        QVERIFY(editor->testPopover());
        QTRY_VERIFY(editor->testPopover()->isVisible());
        auto *output =
            editor->testPopover()->findChild<QPlainTextEdit *>(QStringLiteral("testOutput"));
        QTRY_VERIFY_WITH_TIMEOUT(output->isVisible(), 20000);
        QCOMPARE(output->toPlainText().trimmed(), QStringLiteral("hello"));
        QVERIFY(editor->testPopover()->testRun().jobToRemove());

        // Escape closes it and unloads the temporary job.
        QTest::keyClick(editor->testPopover(), Qt::Key_Escape);
        QTRY_VERIFY(!editor->testPopover());

        // The Test button again closes an open popover.
        test->click();
        QVERIFY(editor->testPopover());
        editor->test();
        QTRY_VERIFY(!editor->testPopover());

        // An empty command is refused with the reason.
        fixture.type(QStringLiteral("runField"), QString());
        test->click();
        QVERIFY(!editor->testPopover());
        QCOMPARE(fixture.rig.answers.alerts.size(), 1);
        QCOMPARE(
            fixture.rig.answers.alerts.first().message,
            Localize::format(Localize::text("Value for %@ cannot be empty"), {Localize::run()}));
    }

    void informationViewShowsLoginItemsAndFollowsTheTheme() {
        Fixture fixture;
        auto item = std::make_shared<Job>();
        item->kind = Kind::loginItemSystemPreferences;
        item->label = QStringLiteral("Tool");
        item->url = QStringLiteral("/usr/bin/tool");
        item->setLocked(true);
        fixture.window->selectJob(item);
        QCOMPARE(fixture.find<QLabel>(QStringLiteral("itemName"))->text(), QStringLiteral("Tool"));
        QCOMPARE(fixture.find<QLabel>(QStringLiteral("itemKind"))->text(),
                 Kinds::title(Kind::loginItemSystemPreferences));
        QCOMPARE(fixture.find<QLabel>(QStringLiteral("itemPath"))->text(),
                 QStringLiteral("/usr/bin/tool"));
        QVERIFY(!fixture.find<QLineEdit>(QStringLiteral("nameField"))->isEnabled());

        fixture.select(fixture.echo);
        auto *code = fixture.find<CodeView>(QStringLiteral("fileText"));
        QVERIFY(!code->isEditable());
        QVERIFY(code->text().contains(QStringLiteral("org.example.echo")));
        const auto paper = [code] { return code->lexer()->defaultPaper(); };
        const QColor before = paper();
        fixture.parts.codeTheme.choose(CodeTheme::dark);
        QCOMPARE(paper(), CodeTheme::themes().at(CodeTheme::dark).paper);
        fixture.parts.codeTheme.choose(CodeTheme::solarizedLight);
        QCOMPARE(paper(), CodeTheme::themes().at(CodeTheme::solarizedLight).paper);
        fixture.parts.codeTheme.choose(CodeTheme::followsDesktop);
        QCOMPARE(paper(), before);

        // The line numbers' margin grows with the line count.
        CodeView view(fixture.parts.codeTheme);
        view.setText(QStringLiteral("a\nb\n"));
        const int narrow = view.marginWidth(0);
        view.setText(QString(QStringLiteral("line\n")).repeated(12000));
        QVERIFY(view.marginWidth(0) > narrow);
    }

    void helpOpensTheShippedPageAtSettings() {
        Fixture fixture;
        UrlCatcher catcher;
        fixture.find<QPushButton>(QStringLiteral("helpButton"))->click();
        QCOMPARE(catcher.urls.size(), 1);
        const QUrl url = catcher.urls.first();
        QCOMPARE(url.fragment(), QStringLiteral("settings"));
        QFile page(url.toLocalFile());
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("id=\"settings\""));
    }

    void everyControlHasAnAccessibleName() {
        Fixture fixture;
        fixture.select(fixture.backup);
        QStringList unnamed;
        const QList<QWidget *> widgets = fixture.window->detailEditor()->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            const bool isControl =
                qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractSpinBox *>(widget);
            if (!isControl || widget->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
            if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.append(widget->objectName() + u'/' +
                               QString::fromLatin1(widget->metaObject()->className()));
        }
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
};

VANDRA_TEST_MAIN(TestDetailEditor)
#include "test_detaileditor.moc"

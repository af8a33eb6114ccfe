#include "accessibilitywalk.h"
#include "actions/actioncontroller.h"
#include "common/testmain.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "store/revisioncontroller.h"
#include "ui/editor/detaileditor.h"
#include "ui/modes/modeview.h"
#include "ui/preferences/preferenceswindow.h"
#include "ui/scripts/scriptwindows.h"
#include "ui/window/jobcommands.h"
#include "ui/window/mainwindow.h"
#include "uitestroot.h"
#include "windowparts.h"

#include <QAction>
#include <QApplication>
#include <QMap>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

using namespace Vandra;

namespace {

// Qt's own pop-ups (a menu bar's overflow) hang on Qt's own buttons only.
bool isMenuOfQt(QMenu *menu) {
    const QList<QObject *> owners = menu->menuAction()->associatedObjects();
    return menu->objectName().startsWith(QLatin1String("qt_")) ||
           std::all_of(owners.cbegin(), owners.cend(), [](const QObject *owner) {
               return owner->objectName().startsWith(QLatin1String("qt_"));
           });
}

// Menus are read by their titles; a submenu or pop-up without one is announced as nothing.
QStringList unnamedMenus(QWidget *root) {
    QStringList unnamed;
    for (QMenu *menu : root->findChildren<QMenu *>()) {
        if (isMenuOfQt(menu))
            continue;
        if (menu->title().trimmed().isEmpty() && menu->accessibleName().trimmed().isEmpty())
            unnamed.append(QStringLiteral("QMenu ") + menu->objectName());
    }
    return unnamed;
}

// Adds each unnamed control below root, once, with where it was met first.
void collectUnnamed(QWidget *root, const QString &where, QMap<QString, QString> &unnamed) {
    for (const QString &control : AccessibilityWalk::unnamedControls(root) + unnamedMenus(root)) {
        if (!unnamed.contains(control))
            unnamed.insert(control, where);
    }
}

// The usual machine in a main window with its editor, shown.
struct Window {
    Window() {
        root.placeUsualJobs();
        JobDiscovery::reloadJobs();
        window.show();
    }

    UiTestRoot root;
    ActionController controller{ActionController::Setup{}};
    RevisionController revisions;
    JobEditor editor{controller, revisions};
    WindowParts parts{controller, revisions};
    MainWindow window{editor, parts.services};
};

} // namespace

// Walks every window the program opens, in every mode and on every page, as a screen reader
// would, and fails on a control it could not announce.
class TestAccessibilityWalk : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlOfEveryWindowHasAName() {
        Window fixture;
        MainWindow &window = fixture.window;
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QMap<QString, QString> unnamed;
        for (int mode = 0; mode < MainWindow::modeCount; ++mode) {
            window.switchMode(mode);
            window.selectJob(JobList::shared().jobs().first());
            QTabWidget *pages = window.detailEditor()->tabs();
            for (int page = 0; page < pages->count(); ++page) {
                pages->setCurrentIndex(page);
                collectUnnamed(&window, QStringLiteral("mode %1 page %2").arg(mode).arg(page),
                               unnamed);
            }
        }

        JobCommands &commands = *window.commands();
        commands.editPlist();
        commands.showNotes();
        commands.editFolders();
        commands.showPreferences();
        commands.newScript();
        for (QWidget *topLevel : QApplication::topLevelWidgets()) {
            if (topLevel == &window || !topLevel->isVisible())
                continue;
            const QString where = QString::fromLatin1(topLevel->metaObject()->className());
            if (auto *preferences = qobject_cast<PreferencesWindow *>(topLevel)) {
                for (int tab = 0; tab < preferences->tabs()->count(); ++tab) {
                    preferences->tabs()->setCurrentIndex(tab);
                    collectUnnamed(topLevel, where + QString::number(tab), unnamed);
                }
            } else {
                collectUnnamed(topLevel, where, unnamed);
            }
        }
        QStringList report;
        for (auto entry = unnamed.cbegin(); entry != unnamed.cend(); ++entry)
            report.append(entry.value() + QStringLiteral(": ") + entry.key());
        QVERIFY2(unnamed.isEmpty(), qPrintable(report.join(QLatin1Char('\n'))));

        for (QWidget *topLevel : QApplication::topLevelWidgets()) {
            if (topLevel != &window)
                topLevel->close();
        }
        Bindings::shared().setEdited(false);
    }

    void aJobInTheGridCanBeReadAndChosenByAScreenReader() {
        Window fixture;
        MainWindow &window = fixture.window;
        window.switchMode(MainWindow::grid);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *grid = window.findChild<QAbstractItemView *>(QStringLiteral("gridView"));
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid);
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);

        // Headings with their counts, each followed by its jobs.
        QStringList read;
        for (int child = 0; child < list->childCount(); ++child) {
            QAccessibleInterface *item = list->child(child);
            QVERIFY(item && item->isValid());
            QCOMPARE(list->indexOfChild(item), child);
            QCOMPARE(item->parent(), list);
            read.append((item->role() == QAccessible::Heading ? QStringLiteral("# ")
                                                              : QStringLiteral("- ")) +
                        item->text(QAccessible::Name));
        }
        const QAbstractItemModel *model = grid->model();
        int shown = model->rowCount();
        for (int section = 0; section < model->rowCount(); ++section)
            shown += model->rowCount(model->index(section, 0));
        QCOMPARE(read.size(), shown);
        QVERIFY2(read.first().startsWith(QStringLiteral("# ")), qPrintable(read.first()));
        QVERIFY2(read.first().endsWith(QStringLiteral(", 3 jobs")), qPrintable(read.first()));
        // A job is read by its label, and the doctor's verdict once it has examined the job.
        const qsizetype backup =
            read.indexOf(QRegularExpression(QStringLiteral("^- org\\.example\\.backup(, .*)?$")));
        QVERIFY2(backup > 0, qPrintable(read.join(QLatin1Char('\n'))));

        QAccessibleInterface *item = list->child(int(backup));
        QVERIFY(!item->state().selected);
        QVERIFY(item->actionInterface());
        QVERIFY(item->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(JobList::shared().currentJob());
        QCOMPARE(JobList::shared().currentJob()->label, QStringLiteral("org.example.backup"));
        QVERIFY(item->state().selected);
        QVERIFY(!list->child(0)->actionInterface());

        // A new job list leaves no interface standing for a row that is gone.
        JobDiscovery::reloadJobs();
        QCOMPARE(list->childCount(), shown);
        QVERIFY(list->child(int(backup))
                    ->text(QAccessible::Name)
                    .startsWith(QStringLiteral("org.example.backup")));
    }

    void theModeButtonsSwitchThePageThroughTheirAccessibleAction() {
        Window fixture;
        MainWindow &window = fixture.window;
        window.switchMode(MainWindow::grid);
        const QList<std::pair<const char *, int>> buttons = {
            {"treeModeButton", MainWindow::tree},
            {"listModeButton", MainWindow::list},
            {"timelineModeButton", MainWindow::timeline},
            {"gridModeButton", MainWindow::grid}};
        for (const auto &[name, mode] : buttons) {
            auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
            QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
            QVERIFY(accessible && accessible->actionInterface());
            accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QTRY_COMPARE(window.mode(), mode);
            QVERIFY(button->isChecked());
        }
    }
};

VANDRA_TEST_MAIN(TestAccessibilityWalk)
#include "test_accessibilitywalk.moc"

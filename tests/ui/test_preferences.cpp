#include "actions/actioncontroller.h"
#include "common/jobrecords.h"
#include "common/testmain.h"
#include "common/testroot.h"
#include "common/text.h"
#include "model/joblist.h"
#include "store/exceptionscontroller.h"
#include "store/folderscontroller.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/notifications.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/common/codeview.h"
#include "ui/preferences/exceptionsmodel.h"
#include "ui/preferences/helpbutton.h"
#include "ui/preferences/preferenceswindow.h"
#include "ui/preferences/themespreferences.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <Qsci/qscilexer.h>

using namespace Vandra;

namespace {

QStringList rowLabels(const QAbstractItemModel &model) {
    QStringList labels;
    for (int row = 0; row < model.rowCount(); ++row)
        labels << model.index(row, ExceptionsModel::name).data().toString();
    return labels;
}

// The window with its dependencies, as the program makes it.
struct Preferences {
    explicit Preferences(ActionController *actions = nullptr)
        : window(Defaults::shared(), exceptions, actions, folders, codeTheme,
                 [this] { ++folderSheets; }) {}

    template <typename T> T *find(const QString &name) {
        T *child = window.findChild<T *>(name);
        if (!child)
            qWarning("no child %s", qPrintable(name));
        return child;
    }

    ExceptionsController exceptions;
    FoldersController folders;
    CodeTheme codeTheme;
    int folderSheets = 0;
    PreferencesWindow window;
};

} // namespace

// Records the pages that help buttons open instead of starting a browser.
class PageRecorder final : public QObject {
    Q_OBJECT

public:
    QList<QUrl> pages;

public Q_SLOTS:
    void open(const QUrl &url) { pages.append(url); }
};

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void generalSettingsAreStoredAtOnce() {
        TestRoot root;
        Preferences preferences;
        auto *help = preferences.find<QCheckBox>(UserDefaultsKeys::automaticHelp);
        auto *path = preferences.find<QCheckBox>(UserDefaultsKeys::automaticPATH);
        auto *revisions = preferences.find<QSpinBox>(UserDefaultsKeys::numberOfSavedRevisions);
        QVERIFY(help && path && revisions);
        QVERIFY(help->isChecked());
        QCOMPARE(revisions->value(), 12);

        help->click();
        QVERIFY(!Defaults::shared().automaticHelp());
        QVERIFY(!help->isChecked());
        path->click();
        QVERIFY(!Defaults::shared().automaticPATH());
        help->click();
        QVERIFY(Defaults::shared().automaticHelp());
        revisions->stepUp();
        QCOMPARE(Defaults::shared().numberOfSavedRevisions(), 13);
        revisions->setValue(3);
        QCOMPARE(Defaults::shared().numberOfSavedRevisions(), 3);
    }

    void opensAtTheTabShownLast() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::preferencesTab, 2);
        {
            Preferences preferences;
            QCOMPARE(preferences.window.tabs()->currentIndex(), int(PreferencesWindow::advanced));
            preferences.window.tabs()->setCurrentIndex(PreferencesWindow::notifications);
            QCOMPARE(Defaults::shared().preferencesTab(), 1);
        }
        Defaults::shared().setValue(UserDefaultsKeys::preferencesTab, 9);
        Preferences preferences;
        QCOMPARE(preferences.window.tabs()->currentIndex(), int(PreferencesWindow::general));
    }

    void theNotificationsTableLeavesJobsOutOfNotifications() {
        TestRoot root;
        Defaults::shared().setValue(UserDefaultsKeys::firstMajorVersionLaunch, false);
        JobList::shared().setJobs({jobRecord(Kind::userAgent, s("zeta")),
                                   jobRecord(Kind::loginItemSystemPreferences, s("Login")),
                                   jobRecord(Kind::localDaemon, s("alpha"))});
        Preferences preferences;
        QTableView *table = preferences.find<QTableView>(s("exceptions"));
        QVERIFY(table);
        QAbstractItemModel &model = *table->model();
        QAbstractItemModelTester tester(&model);
        QCOMPARE(table->selectionMode(), QAbstractItemView::NoSelection);
        // Login items are not the agent's.
        QCOMPARE(rowLabels(model), (QStringList{s("alpha"), s("zeta")}));
        const QModelIndex zeta = model.index(1, ExceptionsModel::enabled);
        QCOMPARE(zeta.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QVERIFY(!(zeta.flags() & Qt::ItemIsSelectable));

        QVERIFY(model.setData(zeta, Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(preferences.exceptions.exceptions(), QStringList{s("zeta")});
        QCOMPARE(zeta.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

        // Switched off, the agent's rows can no longer be changed.
        auto *runAgent = preferences.find<QCheckBox>(s("runAgent"));
        QVERIFY(runAgent);
        QCOMPARE(runAgent->accessibleName(), s("Agent – Run"));
        QVERIFY(runAgent->isChecked());
        runAgent->click();
        QVERIFY(!Defaults::shared().runAgent());
        QVERIFY(!runAgent->isChecked());
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column)
                QVERIFY(!(model.index(row, column).flags() & Qt::ItemIsEnabled));
        }
        QVERIFY(!model.setData(model.index(0, ExceptionsModel::enabled), Qt::Unchecked,
                               Qt::CheckStateRole));
        QCOMPARE(preferences.exceptions.exceptions(), QStringList{s("zeta")});
    }

    void showingTheTabReadsTheExceptionsFile() {
        TestRoot root;
        JobList::shared().setJobs(
            {jobRecord(Kind::userAgent, s("a")), jobRecord(Kind::userAgent, s("b"))});
        Defaults::shared().setValue(UserDefaultsKeys::preferencesTab, 1);
        Preferences preferences;
        root.write(QDir(root.path())
                       .relativeFilePath(Locations::shared().appSupport() + u'/' +
                                         Const::FileName::exceptions),
                   "<plist version=\"1.0\"><dict><key>exceptions</key><array><string>b</string>"
                   "</array></dict></plist>");
        preferences.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preferences.window));
        const QAbstractItemModel &model = *preferences.find<QTableView>(s("exceptions"))->model();
        QCOMPARE(model.index(1, ExceptionsModel::enabled).data(Qt::CheckStateRole).toInt(),
                 int(Qt::Unchecked));
    }

    void showingInternalHelpersReloadsTheJobList() {
        TestRoot root;
        const QString folder = QDir(root.path()).relativeFilePath(*Kinds::url(Kind::userAgent));
        root.write(folder + s("/helper.plist"),
                   "<plist version=\"1.0\"><dict><key>Label</key><string>org.vandra.tool</string>"
                   "<key>Program</key><string>/bin/true</string></dict></plist>");
        Preferences preferences;
        auto *box = preferences.find<QCheckBox>(UserDefaultsKeys::showInternalHelpers);
        QVERIFY(box);
        QVERIFY(!box->isChecked());
        QSignalSpy updated(&Notifications::shared(), &Notifications::jobsUpdated);
        box->click();
        QVERIFY(Defaults::shared().showInternalHelpers());
        // The list is read on a worker and swapped in when it is done.
        QTRY_COMPARE(updated.count(), 1);
        QCOMPARE(JobList::shared().jobs().size(), 1);
        QCOMPARE(JobList::shared().jobs().first()->label, s("org.vandra.tool"));
        box->click();
        QTRY_VERIFY(JobList::shared().jobs().isEmpty());
    }

    void theAdvancedTabSendsUninstallAndOpensTheFolders() {
        TestRoot root;
        ActionController actions(ActionController::Setup::standard());
        Preferences preferences(&actions);
        auto *uninstall = preferences.find<QPushButton>(s("uninstallHelpers"));
        QVERIFY(uninstall && uninstall->isEnabled());
        uninstall->click();
        // The request goes to the privileged helper, which starts with its handshake.
        QVERIFY(actions.isHandshaking() || actions.privilegedConnection());

        auto *list = preferences.find<QLabel>(s("folderList"));
        QVERIFY(list);
        QCOMPARE(list->text(), s("No extra folders."));
        preferences.folders.add(root.path());
        QCOMPARE(list->text(), root.path());
        preferences.find<QPushButton>(s("extraFolders"))->click();
        QCOMPARE(preferences.folderSheets, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!actions.isHandshaking(), 20000);
    }

    void eachHelpButtonOpensItsPage() {
        TestRoot root;
        PageRecorder recorder;
        QDesktopServices::setUrlHandler(s("file"), &recorder, "open");
        Preferences preferences;
        QTabWidget *tabs = preferences.window.tabs();
        for (int tab = 0; tab < tabs->count(); ++tab)
            tabs->widget(tab)->findChild<QPushButton *>(s("help"))->click();
        QDesktopServices::unsetUrlHandler(s("file"));
        QCOMPARE(recorder.pages, (QList<QUrl>{HelpButton::pageUrl(s("preferencesgeneral")),
                                              HelpButton::pageUrl(s("preferencesnotifications")),
                                              HelpButton::pageUrl(s("preferencesadvanced")),
                                              HelpButton::pageUrl(s("preferencesthemes"))}));
        // The shipped page, which has a section for each tab.
        const QUrl first = recorder.pages.first();
        QVERIFY(first.isLocalFile());
        QFile page(first.toLocalFile());
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QByteArray html = page.readAll();
        for (const QUrl &url : recorder.pages)
            QVERIFY2(html.contains(QByteArray("id=\"" + url.fragment().toUtf8() + '"')),
                     qPrintable(url.fragment()));
    }

    void choosingAThemeRecoloursOpenViewsAndIsKeptUntilTheDesktopIsFollowedAgain() {
        TestRoot root;
        Preferences preferences;
        CodeTheme &theme = preferences.codeTheme;
        CodeView view(theme);
        view.showText(s("<plist/>"));
        const QColor paperBefore = view.lexer()->defaultPaper();
        auto *themes = preferences.find<QComboBox>(s("theme"));
        QVERIFY(themes);
        QCOMPARE(themes->currentData().toInt(), int(CodeTheme::followsDesktop));

        const int solarized = themes->findData(int(CodeTheme::solarizedDark));
        themes->setCurrentIndex(solarized);
        Q_EMIT themes->activated(solarized);
        QCOMPARE(theme.chosen(), int(CodeTheme::solarizedDark));
        QVERIFY(Defaults::shared().hasManuallyChangedTheme());
        QCOMPARE(Defaults::shared().integerValue(UserDefaultsKeys::currentTheme),
                 qint64(CodeTheme::solarizedDark));
        QCOMPARE(view.lexer()->defaultPaper(),
                 CodeTheme::themes().at(CodeTheme::solarizedDark).paper);
        QVERIFY(view.lexer()->defaultPaper() != paperBefore);

        // The next start chooses the stored theme again.
        theme.choose(CodeTheme::followsDesktop);
        ThemesPreferences::restore(Defaults::shared(), theme);
        QCOMPARE(theme.chosen(), int(CodeTheme::solarizedDark));
        QCOMPARE(themes->currentData().toInt(), int(CodeTheme::solarizedDark));

        const int follow = themes->findData(int(CodeTheme::followsDesktop));
        themes->setCurrentIndex(follow);
        Q_EMIT themes->activated(follow);
        QCOMPARE(theme.chosen(), int(CodeTheme::followsDesktop));
        QVERIFY(!Defaults::shared().hasManuallyChangedTheme());
        QCOMPARE(view.lexer()->defaultPaper(), paperBefore);
        ThemesPreferences::restore(Defaults::shared(), theme);
        QCOMPARE(theme.chosen(), int(CodeTheme::followsDesktop));
    }
};

VANDRA_TEST_MAIN(TestPreferences)
#include "test_preferences.moc"

#include "ui/window/mainwindow.h"

#include "actions/jobstatussource.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/foldermonitors.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/delay.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/common/helppage.h"
#include "ui/common/icons.h"
#include "ui/common/windowservices.h"
#include "ui/editor/detaileditor.h"
#include "ui/modes/filterpreparer.h"
#include "ui/modes/gridmodeview.h"
#include "ui/modes/listmodeview.h"
#include "ui/modes/timelinemodeview.h"
#include "ui/modes/treemodeview.h"
#include "ui/scripts/scriptwindows.h"
#include "ui/window/aboutbox.h"
#include "ui/window/jobcommands.h"
#include "ui/window/joburl.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

namespace Vandra {

namespace {

constexpr double openUrlDelay = 0.3;
const QString showToolbarKey = QStringLiteral("showToolbar");

QString modeName(int mode) {
    switch (mode) {
    case MainWindow::grid:
        return Localize::grid();
    case MainWindow::tree:
        return Localize::tree();
    case MainWindow::list:
        return Localize::list();
    case MainWindow::timeline:
        return Localize::timeline();
    default:
        break;
    }
    return {};
}

QWidget *flexibleSpace(QWidget *parent) {
    auto *space = new QWidget(parent);
    space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    return space;
}

} // namespace

MainWindow::MainWindow(JobEditor &editor, const WindowServices &services, QWidget *parent)
    : QMainWindow(parent)
    , m_editor(editor)
    , m_status(services.view.status)
    , m_modes(new QStackedWidget(this))
    , m_filterPreparer(new FilterPreparer(this))
    , m_detail(
          new DetailEditor(editor, services.actions, services.codeTheme, services.view, this)) {
    setObjectName(QStringLiteral("mainWindow"));
    m_modes->setObjectName(QStringLiteral("modeStack"));

    // The pages in the order of the modes' raw values.
    m_modeViews = {
        new GridModeView(services.view, m_modes), new TreeModeView(services.view, m_modes),
        new ListModeView(services.view, m_modes), new TimelineModeView(services.view, m_modes)};
    for (ModeView *view : std::as_const(m_modeViews)) {
        m_modes->addWidget(view);
        connect(view, &ModeView::jobSelected, this, &MainWindow::selectJob);
        connect(view, &ModeView::unsavedChangesWarning, this, [this] { mayLeaveCurrentJob(); });
    }

    auto *splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    splitter->addWidget(m_modes);
    splitter->addWidget(m_detail);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    buildToolbar();
    buildMenus();
    m_commands = new JobCommands(*this, editor, services);

    JobList &jobs = JobList::shared();
    connect(&jobs, &JobList::jobsUpdated, this, &MainWindow::showJobs);
    connect(&jobs, &JobList::jobsUpdated, m_filterPreparer,
            [this, &jobs] { m_filterPreparer->prepare(jobs.jobs()); });
    m_filterPreparer->prepare(jobs.jobs());
    connect(&jobs, &JobList::currentJobChanged, this, &MainWindow::currentJobChanged);
    Bindings &bindings = Bindings::shared();
    connect(&bindings, &Bindings::isEditedChanged, this, [this](bool isEdited) {
        // The mode items' shortcuts work while the menu is closed.
        updateViewMenu();
        setWindowModified(isEdited);
    });

    const int stored = Defaults::shared().selectedMode();
    const int initial = stored >= 0 && stored < modeCount ? stored : int(grid);
    m_modes->setCurrentIndex(initial);
    m_modeButtons->button(initial)->setChecked(true);
    showJobs();
    updateTitle();
    resize(1180, 760);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildToolbar() {
    QToolBar *toolbar = addToolBar(Localize::text("Toolbar"));
    m_toolbar = toolbar;
    toolbar->setObjectName(QStringLiteral("mainToolbar"));
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolbar->setIconSize(QSize(20, 20));
    if (auto *more = toolbar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(Localize::text("More"));

    const auto addItem = [toolbar](const QString &name, const QString &title, const QString &icon) {
        QAction *action = toolbar->addAction(Icons::themed(icon, Icons::Style::symbolic), title);
        action->setObjectName(name);
        action->setToolTip(title);
        // Offered by the commands that follow this window.
        action->setEnabled(false);
        return action;
    };

    addItem(QStringLiteral("newAction"), Localize::newItem(), QStringLiteral("list-add"));
    toolbar->addWidget(flexibleSpace(toolbar));

    m_modeControl = new QWidget(toolbar);
    m_modeControl->setObjectName(QStringLiteral("modeControl"));
    auto *modeLayout = new QHBoxLayout(m_modeControl);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    modeLayout->setSpacing(0);
    m_modeButtons = new QButtonGroup(m_modeControl);
    m_modeButtons->setExclusive(true);
    for (int mode = 0; mode < modeCount; ++mode) {
        auto *button = new QToolButton(m_modeControl);
        static const char *const names[] = {"gridModeButton", "treeModeButton", "listModeButton",
                                            "timelineModeButton"};
        button->setObjectName(QString::fromLatin1(names[mode]));
        button->setCheckable(true);
        button->setIcon(Icons::mode(mode));
        button->setIconSize(QSize(18, 18));
        button->setToolTip(modeName(mode));
        button->setAccessibleName(modeName(mode));
        button->setAccessibleDescription(modeName(mode));
        button->setAutoRaise(true);
        m_modeButtons->addButton(button, mode);
        modeLayout->addWidget(button);
    }
    connect(m_modeButtons, &QButtonGroup::idClicked, this, &MainWindow::switchMode);
    toolbar->addWidget(m_modeControl);
    toolbar->addWidget(flexibleSpace(toolbar));

    m_filterField = new QLineEdit(toolbar);
    m_filterField->setObjectName(QStringLiteral("filterField"));
    m_filterField->setPlaceholderText(Localize::filter());
    m_filterField->setClearButtonEnabled(true);
    m_filterField->setAccessibleName(Localize::filter());
    QAction *search =
        m_filterField->addAction(Icons::themed(QStringLiteral("edit-find"), Icons::Style::symbolic),
                                 QLineEdit::LeadingPosition);
    search->setText(Localize::filter());
    // The field's own clear button, named for screen readers like every other control.
    if (auto *clear =
            m_filterField->findChild<QAction *>(QStringLiteral("_q_qlineeditclearaction")))
        clear->setText(Localize::text("Clear"));
    m_filterField->setMinimumWidth(180);
    m_filterField->setMaximumWidth(260);
    connect(m_filterField, &QLineEdit::textChanged, this, &MainWindow::filterJobs);
    toolbar->addWidget(m_filterField);
    toolbar->addWidget(flexibleSpace(toolbar));

    addItem(QStringLiteral("shareAction"), Localize::share(), QStringLiteral("send-to"));
    toolbar->addWidget(flexibleSpace(toolbar));
    addItem(QStringLiteral("editAction"), Localize::editPlist(), QStringLiteral("document-edit"));
    addItem(QStringLiteral("logAction"), Localize::log(), QStringLiteral("utilities-terminal"));
    addItem(QStringLiteral("infoAction"), Localize::info(), QStringLiteral("dialog-information"));
}

void MainWindow::buildMenus() {
    buildFileMenu();
    buildViewMenu();
    buildHelpMenu();
}

void MainWindow::buildFileMenu() {
    // Filled by the commands, which follow this window.
    m_fileMenu = menuBar()->addMenu(Localize::text("&File"));
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
}

void MainWindow::buildViewMenu() {
    m_viewMenu = menuBar()->addMenu(Localize::text("&View"));
    m_viewMenu->setObjectName(QStringLiteral("viewMenu"));
    m_modeActions = new QActionGroup(this);
    m_modeActions->setExclusive(true);
    for (int mode = 0; mode < modeCount; ++mode) {
        QAction *action = m_viewMenu->addAction(Icons::mode(mode), modeName(mode));
        action->setObjectName(QStringLiteral("modeAction%1").arg(mode));
        action->setCheckable(true);
        action->setData(mode);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + mode)));
        m_modeActions->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] { switchMode(mode); });
    }
    m_viewMenu->addSeparator();

    m_columnsMenu = m_viewMenu->addMenu(Localize::text("Columns"));
    m_columnsMenu->setObjectName(QStringLiteral("columnsMenu"));
    auto *listView = static_cast<ListModeView *>(m_modeViews.at(list));
    for (const ListColumn column : ListColumns::allCases()) {
        QAction *action = m_columnsMenu->addAction(ListColumns::title(column));
        action->setObjectName(QStringLiteral("columnAction%1").arg(int(column)));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [listView, column](bool on) { listView->setColumnVisible(column, on); });
    }

    m_showSystemJobsAction = m_viewMenu->addAction(Localize::text("Show System Jobs"));
    m_showSystemJobsAction->setObjectName(QStringLiteral("showSystemJobsAction"));
    m_showSystemJobsAction->setCheckable(true);
    connect(m_showSystemJobsAction, &QAction::triggered, this, [] {
        Defaults::shared().negate(UserDefaultsKeys::showSystemJobs);
        JobDiscovery::reloadJobsLater();
    });

    m_viewMenu->addSeparator();
    QAction *showToolbar = m_toolbar->toggleViewAction();
    showToolbar->setObjectName(QStringLiteral("showToolbarAction"));
    showToolbar->setText(Localize::text("Show Toolbar"));
    m_viewMenu->addAction(showToolbar);
    // Only the user's choice is remembered, not the toolbar hiding with its window.
    connect(showToolbar, &QAction::triggered, this,
            [](bool isShown) { Defaults::shared().setValueSoon(showToolbarKey, isShown); });
    const QVariant isShown = Defaults::shared().value(showToolbarKey);
    m_toolbar->setVisible(!isShown.isValid() || isShown.toBool());

    connect(m_viewMenu, &QMenu::aboutToShow, this, &MainWindow::updateViewMenu);
    updateViewMenu();
}

void MainWindow::buildHelpMenu() {
    m_helpMenu = menuBar()->addMenu(Localize::text("&Help"));
    m_helpMenu->setObjectName(QStringLiteral("helpMenu"));
    QAction *help =
        m_helpMenu->addAction(Localize::text("Vandra Help"), this, [] { HelpPage::open(); });
    help->setObjectName(QStringLiteral("helpAction"));
    help->setShortcut(QKeySequence::HelpContents);
    QAction *keys = m_helpMenu->addAction(Localize::text("launchd.plist Key Reference"), this, [] {
        // The key reference is a page beside the help page.
        QDesktopServices::openUrl(HelpPage::url().resolved(QUrl(QStringLiteral("keys.html"))));
    });
    keys->setObjectName(QStringLiteral("keyReferenceAction"));
    m_helpMenu->addSeparator();
    QAction *about =
        m_helpMenu->addAction(Localize::text("About Vandra"), this, &MainWindow::showAbout);
    about->setObjectName(QStringLiteral("aboutAction"));
    about->setMenuRole(QAction::AboutRole);
}

void MainWindow::showAbout() {
    auto *box = new AboutBox(this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setBackendLine(
        Localize::format(Localize::text("Jobs are run by: %@"), {loadBackendName(m_status)}));
    box->open();
}

void MainWindow::updateViewMenu() {
    const bool isEdited = Bindings::shared().isEdited();
    const int current = mode();
    for (QAction *action : m_modeActions->actions())
        action->setChecked(action->data().toInt() == current);
    m_columnsMenu->menuAction()->setEnabled(current == list);
    auto *listView = static_cast<ListModeView *>(m_modeViews.at(list));
    for (const ListColumn column : ListColumns::allCases()) {
        m_columnsMenu->actions().at(int(column))->setChecked(listView->isColumnVisible(column));
    }
    m_showSystemJobsAction->setChecked(Defaults::shared().showSystemJobs());
    m_showSystemJobsAction->setEnabled(!isEdited && !(m_commands && m_commands->hasSheet()));
}

int MainWindow::mode() const {
    return m_modes->currentIndex();
}

ModeView *MainWindow::modeView(int mode) const {
    return mode >= 0 && mode < m_modeViews.size() ? m_modeViews.at(mode) : nullptr;
}

ModeView *MainWindow::currentModeView() const {
    return modeView(mode());
}

void MainWindow::switchMode(int mode) {
    // Another mode leaves no current job, so unsaved edits must go first.
    if (mode < 0 || mode >= modeCount || !mayLeaveCurrentJob()) {
        if (QAbstractButton *button = m_modeButtons->button(this->mode()))
            button->setChecked(true);
        updateViewMenu();
        return;
    }
    m_modes->setCurrentIndex(mode);
    Defaults::shared().setValueSoon(UserDefaultsKeys::selectedMode, mode);
    if (QAbstractButton *button = m_modeButtons->button(mode))
        button->setChecked(true);
    updateViewMenu();

    if (mode == tree && JobList::shared().jobs().isEmpty())
        JobDiscovery::reloadJobsLater();
    showJobs();
    JobList::shared().setCurrentJob({});
    Bindings::shared().update({});
    currentJobChanged({});
}

void MainWindow::filterJobs(const QString &text) {
    // A text typed before the list's texts were all prepared would fold the rest on this
    // thread alone.
    if (!text.isEmpty())
        m_filterPreparer->finishNow();
    if (m_filterField->text() != text)
        m_filterField->setText(text);
    showJobs();
}

void MainWindow::showJobs() {
    ModeView *view = currentModeView();
    view->showJobs(JobList::shared().jobs(), m_filterField->text());
    view->showCurrentJob(JobList::shared().currentJob());
}

void MainWindow::selectJob(const JobPtr &job) {
    JobList &list = JobList::shared();
    if (job == list.currentJob())
        return;
    list.setCurrentJob(job);
    Bindings::shared().update(job);
}

void MainWindow::currentJobChanged(const JobPtr &job) {
    currentModeView()->showCurrentJob(job);
    updateTitle();
}

void MainWindow::updateTitle() {
    const JobPtr &job = JobList::shared().currentJob();
    setWindowTitle((job ? job->label : Const::AppName::vandrax) + QStringLiteral("[*]"));
    setWindowModified(Bindings::shared().isEdited());
}

void MainWindow::openUrls(const QStringList &urls) {
    // Raising alone leaves a minimized window where it is.
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
    // An open dialog asks about the current job; changing it underneath would have the
    // answer act on another job.
    const auto isBusy = [] {
        return Bindings::shared().isEdited() || QApplication::activeModalWidget();
    };
    if (urls.isEmpty() || QApplication::activeModalWidget())
        return;
    const std::optional<QString> path = JobUrl::path(urls.first());
    if (!path || !mayLeaveCurrentJob())
        return;
    Delay::after(openUrlDelay, this, [this, isBusy, file = *path] {
        if (isBusy())
            return;
        if (const JobPtr job = JobList::shared().jobWithUrl(file))
            selectJob(job);
    });
}

bool MainWindow::mayLeaveCurrentJob() {
    if (!Bindings::shared().isEdited())
        return true;
    return m_editor.unsavedChangesAlert() == JobEditor::UnsavedAnswer::discarded;
}

void MainWindow::closeEvent(QCloseEvent *event) {
    // Script documents first: each asks about its own unsaved edits, and keeping one open
    // keeps the program running.
    if (m_commands && !m_commands->scripts().closeAll()) {
        event->ignore();
        return;
    }
    if (!Bindings::shared().isEdited()) {
        event->accept();
        return;
    }
    m_isTerminating = true;
    if (m_monitors)
        m_monitors->setTerminating(true);
    m_editor.setQuitting(true);
    if (m_editor.unsavedChangesAlert() == JobEditor::UnsavedAnswer::quit) {
        event->accept();
        return;
    }
    m_editor.setQuitting(false);
    m_isTerminating = false;
    if (m_monitors)
        m_monitors->setTerminating(false);
    event->ignore();
}

} // namespace Vandra

#include "ui/window/jobcommands.h"

#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "platform/filemanagerreveal.h"
#include "platform/mailhandler.h"
#include "store/exceptionscontroller.h"
#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "store/notesstore.h"
#include "store/revisioncontroller.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/locations.h"
#include "ui/common/codetheme.h"
#include "ui/common/windowservices.h"
#include "ui/editor/detaileditor.h"
#include "ui/editor/infoview.h"
#include "ui/modes/modeview.h"
#include "ui/preferences/preferenceswindow.h"
#include "ui/scripts/newscriptsheet.h"
#include "ui/scripts/scripttheme.h"
#include "ui/scripts/scriptwindows.h"
#include "ui/sheets/editplistsheet.h"
#include "ui/sheets/folderssheet.h"
#include "ui/sheets/logsheet.h"
#include "ui/sheets/notessheet.h"
#include "ui/sheets/revisionsmenu.h"
#include "ui/window/mainwindow.h"
#include "ui/window/sharemenu.h"
#include "ui/window/sheetwatcher.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace Vandra {

namespace {

using Availability = CommandAvailability::Command;
using Item = CommandAvailability::Item;

// A sheet or window that goes away when closed.
template <typename Widget> Widget *opened(Widget *widget) {
    widget->setAttribute(Qt::WA_DeleteOnClose);
    widget->show();
    return widget;
}

// The toolbar's items by their names, with their rules.
const QList<std::pair<const char *, Item>> &toolbarItems() {
    static const QList<std::pair<const char *, Item>> items = {{"newAction", Item::newJob},
                                                               {"shareAction", Item::share},
                                                               {"editAction", Item::edit},
                                                               {"logAction", Item::log},
                                                               {"infoAction", Item::info}};
    return items;
}

} // namespace

JobCommands::JobCommands(MainWindow &window, JobEditor &editor, const WindowServices &services)
    : QObject(&window)
    , m_window(window)
    , m_editor(editor)
    , m_controller(services.actions)
    , m_notes(services.notes)
    , m_revisionStore(services.revisions)
    , m_folders(services.folders)
    , m_codeTheme(services.codeTheme)
    , m_status(services.view.status)
    , m_sheets(new SheetWatcher(window))
    , m_exceptions(new ExceptionsController(this))
    , m_scripts(new ScriptWindows(scriptTheme(), this))
    , m_revealer(new FileManagerReveal(
          QDBusConnection::sessionBus(),
          [this](const QString &folder) { openUrl(QUrl::fromLocalFile(folder)); }, this))
    , m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); }) {
    connect(&m_codeTheme, &CodeTheme::changed, this,
            [this] { m_scripts->applyTheme(scriptTheme()); });
    buildFileMenu();
    connectToolbar();
    for (int mode = 0; mode < MainWindow::modeCount; ++mode) {
        connect(window.modeView(mode), &ModeView::jobMenuRequested, this,
                &JobCommands::showJobMenu);
    }
    connect(&m_status, &JobStatusSource::statusChanged, this, &JobCommands::updateAvailability);

    connect(window.fileMenu(), &QMenu::aboutToShow, this, &JobCommands::updateAvailability);
    connect(m_sheets, &SheetWatcher::sheetChanged, this, &JobCommands::updateAvailability);
    connect(&JobList::shared(), &JobList::currentJobChanged, this,
            &JobCommands::updateAvailability);
    connect(&JobList::shared(), &JobList::jobsUpdated, this, &JobCommands::updateAvailability);
    Bindings &bindings = Bindings::shared();
    for (const auto signal :
         {&Bindings::isEditedChanged, &Bindings::isLockedChanged, &Bindings::isSavingChanged})
        connect(&bindings, signal, this, &JobCommands::updateAvailability);
    updateAvailability();
}

JobCommands::~JobCommands() = default;

QAction *JobCommands::addCommand(const QString &name, const QString &title,
                                 void (JobCommands::*command)(), Command rule,
                                 const QKeySequence &shortcut) {
    QAction *action = m_window.fileMenu()->addAction(title);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    if (command)
        connect(action, &QAction::triggered, this, command);
    m_rules.insert(action, rule);
    return action;
}

void JobCommands::buildFileMenu() {
    QMenu *file = m_window.fileMenu();
    addCommand(QStringLiteral("newJobAction"), Localize::newItem(), &JobCommands::newJob,
               Availability::newJob, QKeySequence::New);
    addCommand(QStringLiteral("newScriptAction"), Localize::text("New Script…"),
               &JobCommands::newScript, Availability::newScript);
    addCommand(QStringLiteral("editScriptAction"), Localize::text("Edit Script…"),
               &JobCommands::editScript, Availability::always, QKeySequence::Open);
    addCommand(QStringLiteral("importAction"), Localize::text("Import…"), &JobCommands::importJob,
               Availability::importJob, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    file->addSeparator();
    addCommand(QStringLiteral("saveAction"), Localize::text("Save"), &JobCommands::save,
               Availability::save, QKeySequence::Save);
    addCommand(QStringLiteral("duplicateAction"), Localize::text("Duplicate"),
               &JobCommands::duplicate, Availability::duplicate,
               QKeySequence(Qt::CTRL | Qt::Key_D));
    addCommand(QStringLiteral("exportAction"), Localize::text("Export…"), &JobCommands::exportJob,
               Availability::exportJob, QKeySequence::SaveAs);
    addCommand(QStringLiteral("deleteAction"), Localize::deleteItem(), &JobCommands::deleteJob,
               Availability::deleteJob, QKeySequence::Delete);
    m_revisions = file->addMenu(Localize::text("Revisions"));
    auto *revisions = new RevisionsMenu(m_revisions, m_revisionStore, file);
    // Whether a revision can be put back is the revisions' own business, unless a sheet is open.
    connect(m_sheets, &SheetWatcher::sheetChanged, revisions, &RevisionsMenu::rebuild);
    file->addSeparator();

    QAction *reveal = addCommand(QStringLiteral("revealAction"), Localize::revealInFinder(),
                                 nullptr, Availability::reveal);
    connect(reveal, &QAction::triggered, this,
            [this] { this->reveal(JobList::shared().currentJob()); });
    m_shareMenu = file->addMenu(Localize::share());
    m_shareMenu->setObjectName(QStringLiteral("shareMenu"));
    m_shareMenu->menuAction()->setObjectName(QStringLiteral("shareMenuAction"));
    m_share = new ShareMenu(
        m_shareMenu, [] { return JobList::shared().currentJob(); },
        [this](const QUrl &url) { return openUrl(url); }, [] { return MailHandler::isSet(); });
    m_rules.insert(m_shareMenu->menuAction(), Availability::share);
    file->addSeparator();

    addCommand(QStringLiteral("showInfoAction"), Localize::info(), &JobCommands::showInfo,
               Availability::info, QKeySequence(Qt::CTRL | Qt::Key_I));
    addCommand(QStringLiteral("showLogAction"), Localize::text("Log…"), &JobCommands::showLog,
               Availability::log, QKeySequence(Qt::CTRL | Qt::Key_L));
    addCommand(QStringLiteral("testAction"), Localize::text("Test"), &JobCommands::test,
               Availability::test, QKeySequence(Qt::CTRL | Qt::Key_T));
    // Start Now and Stop also follow the job's live status; see updateAvailability.
    m_start = addCommand(QStringLiteral("startJobAction"), Localize::text("Start Now"),
                         &JobCommands::startJob, Availability::test);
    m_stop = addCommand(QStringLiteral("stopJobAction"), Localize::text("Stop"),
                        &JobCommands::stopJob, Availability::test);
    addCommand(QStringLiteral("editPlistAction"), Localize::text("Edit Plist…"),
               &JobCommands::editPlist, Availability::editPlist,
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    // Notes belong to a job, as Info does.
    addCommand(QStringLiteral("showNotesAction"), Localize::text("Notes…"), &JobCommands::showNotes,
               Availability::info);
    file->addSeparator();

    addCommand(QStringLiteral("refreshAction"), Localize::refresh(), &JobCommands::refresh,
               Availability::refresh, QKeySequence::Refresh);
    addCommand(QStringLiteral("extraFoldersAction"), Localize::text("Extra Folders…"),
               &JobCommands::editFolders, Availability::always);
    QAction *preferences =
        addCommand(QStringLiteral("preferencesAction"), Localize::text("Preferences…"),
                   &JobCommands::showPreferences, Availability::always, QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    file->addSeparator();
    QAction *quit = addCommand(QStringLiteral("quitAction"), Localize::text("Quit"), nullptr,
                               Availability::always, QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
    connect(quit, &QAction::triggered, &m_window, [this] { m_window.close(); });
}

void JobCommands::connectToolbar() {
    const auto item = [this](const char *name) {
        return m_window.findChild<QAction *>(QString::fromLatin1(name));
    };
    connect(item("newAction"), &QAction::triggered, this, &JobCommands::newJob);
    connect(item("editAction"), &QAction::triggered, this, &JobCommands::editPlist);
    connect(item("logAction"), &QAction::triggered, this, &JobCommands::showLog);
    connect(item("infoAction"), &QAction::triggered, this, &JobCommands::showInfo);
    // The toolbar's Share opens the same menu as the File menu's.
    QAction *share = item("shareAction");
    share->setMenu(m_shareMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_window.toolbar()->widgetForAction(share)))
        button->setPopupMode(QToolButton::InstantPopup);
}

CommandAvailability::State JobCommands::state() const {
    const Bindings &bindings = Bindings::shared();
    return {m_sheets->hasSheet(), bindings.isEdited(), bindings.isSaving(),
            JobList::shared().currentJob()};
}

bool JobCommands::hasSheet() const {
    return m_sheets->hasSheet();
}

void JobCommands::updateAvailability() {
    const CommandAvailability::State now = state();
    for (auto rule = m_rules.cbegin(); rule != m_rules.cend(); ++rule)
        rule.key()->setEnabled(CommandAvailability::isAvailable(rule.value(), now));
    if (now.hasSheet)
        m_revisions->menuAction()->setEnabled(false);
    for (const auto &[name, item] : toolbarItems()) {
        if (QAction *action = m_window.findChild<QAction *>(QString::fromLatin1(name)))
            action->setEnabled(CommandAvailability::isEnabled(item, now));
    }
    m_window.filterField()->setEnabled(CommandAvailability::isEnabled(Item::filter, now));
    m_window.modeControl()->setEnabled(CommandAvailability::isEnabled(Item::mode, now));

    // The helper service tells the status of the jobs it loads; machine-wide ones are asked
    // of the privileged helper, which says when there is nothing to do.
    const JobPtr &job = JobList::shared().currentJob();
    const bool isJob = job && job->plist && job->kind && job->url;
    const auto status = isJob ? m_status.status(*job) : std::optional<JobStatus>();
    const bool isMachineWide = isJob && ActionController::isMachineWide(*job->kind);
    if (m_start && m_stop) {
        m_start->setEnabled(m_start->isEnabled() &&
                            (isMachineWide || (status && status->isLoaded && !status->isRunning)));
        m_stop->setEnabled(m_stop->isEnabled() && (isMachineWide || (status && status->isRunning)));
    }
}

bool JobCommands::openUrl(const QUrl &url) const {
    return m_openUrl && m_openUrl(url);
}

void JobCommands::newJob() {
    if (!Bindings::shared().isEdited())
        m_editor.newAction();
}

void JobCommands::importJob() {
    if (CommandAvailability::isAvailable(Availability::importJob, state()))
        m_editor.importAction();
}

void JobCommands::duplicate() {
    if (CommandAvailability::isAvailable(Availability::duplicate, state()))
        m_editor.duplicate();
}

void JobCommands::exportJob() {
    if (CommandAvailability::isAvailable(Availability::exportJob, state()))
        m_editor.exportAction();
}

void JobCommands::deleteJob() {
    if (CommandAvailability::isAvailable(Availability::deleteJob, state()))
        m_editor.deleteAction();
}

void JobCommands::save() {
    if (!CommandAvailability::isAvailable(Availability::save, state()) ||
        Bindings::shared().isLocked())
        return;
    DetailEditor *detail = m_window.detailEditor();
    // An unedited job is saved as it stands, which writes it again and loads it anew.
    if (detail->canSave())
        detail->save();
    else
        m_editor.save();
}

void JobCommands::refresh() {
    if (!Bindings::shared().isEdited())
        JobDiscovery::reloadJobsLater();
}

void JobCommands::showInfo() {
    if (!JobList::shared().currentJob())
        return;
    InfoView *info = m_window.detailEditor()->info();
    info->show();
    info->setFocus(Qt::ShortcutFocusReason);
}

void JobCommands::test() {
    if (CommandAvailability::isAvailable(Availability::test, state()))
        m_window.detailEditor()->test();
}

void JobCommands::editPlist() {
    if (CommandAvailability::isAvailable(Availability::editPlist, state()))
        opened(new EditPlistSheet(m_codeTheme, &m_window));
}

void JobCommands::showLog() {
    if (!CommandAvailability::isAvailable(Availability::log, state()))
        return;
    opened(new LogSheet(JobList::shared().currentJob(), m_controller, &m_editor, &m_window));
}

void JobCommands::startJob() {
    const JobPtr &job = JobList::shared().currentJob();
    if (m_start->isEnabled() && job && job->kind)
        m_controller.startJob(job->label, ActionController::isMachineWide(*job->kind));
}

void JobCommands::stopJob() {
    const JobPtr &job = JobList::shared().currentJob();
    if (m_stop->isEnabled() && job && job->kind)
        m_controller.stopJob(job->label, ActionController::isMachineWide(*job->kind));
}

void JobCommands::showNotes() {
    if (const JobPtr &job = JobList::shared().currentJob())
        opened(new NotesSheet(job, m_notes, &m_window));
}

void JobCommands::editFolders() {
    opened(new FoldersSheet(m_folders, &m_window));
}

void JobCommands::showPreferences() {
    opened(new PreferencesWindow(
        Defaults::shared(), *m_exceptions, &m_controller, m_folders, m_codeTheme,
        [this] { editFolders(); }, &m_window));
}

void JobCommands::newScript() {
    auto *sheet = new NewScriptSheet(m_editor, scriptTheme(), &m_window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

void JobCommands::editScript() {
    m_scripts->editScript(&m_window);
}

void JobCommands::reveal(const JobPtr &job) {
    if (!job)
        return;
    if (job->kind == Kind::loginItemSystemPreferences) {
        // The session's login items are the entries of the autostart folder.
        const QString folder = Locations::shared().userAutostart();
        QDir().mkpath(folder);
        openUrl(QUrl::fromLocalFile(folder));
        return;
    }
    if (job->url && !job->url->isEmpty())
        m_revealer->reveal(*job->url);
}

void JobCommands::open(const JobPtr &job) {
    if (CommandAvailability::offersOpen(job))
        openUrl(QUrl::fromLocalFile(*job->url));
}

QMenu *JobCommands::jobMenu(const JobPtr &job, int mode, QWidget *parent) {
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("jobMenu"));
    const QString label = job->originalLabel.isEmpty() ? job->label : job->originalLabel;
    menu->setAccessibleName(label);
    // The job's name heads the menu, so the user sees which job it acts on.
    QAction *title = menu->addAction(label);
    title->setObjectName(QStringLiteral("jobMenuTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    menu->addSeparator();

    QAction *reveal = menu->addAction(Localize::revealInFinder());
    reveal->setObjectName(QStringLiteral("jobMenuReveal"));
    connect(reveal, &QAction::triggered, this, [this, job] { this->reveal(job); });
    const bool isTimeline = mode == MainWindow::timeline;
    if (CommandAvailability::offersDelete(job, Bindings::shared().isEdited(), isTimeline)) {
        QAction *remove = menu->addAction(Localize::deleteItem());
        remove->setObjectName(QStringLiteral("jobMenuDelete"));
        connect(remove, &QAction::triggered, this, [this, job] {
            // Deleting acts on the current job, which the menu's job becomes first.
            m_window.selectJob(job);
            if (JobList::shared().currentJob() == job)
                deleteJob();
        });
    }
    if (CommandAvailability::offersOpen(job)) {
        QAction *openItem = menu->addAction(Localize::open());
        openItem->setObjectName(QStringLiteral("jobMenuOpen"));
        connect(openItem, &QAction::triggered, this, [this, job] { open(job); });
    }
    return menu;
}

void JobCommands::showJobMenu(const JobPtr &job, const QPoint &globalPosition) {
    QMenu *menu = jobMenu(job, m_window.mode(), &m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

ScriptTheme JobCommands::scriptTheme() const {
    // Scripts take the colours of the code views' theme, so one choice colours every text.
    const CodeTheme::Colours &code = m_codeTheme.colours(m_window.palette());
    ScriptTheme theme = code.isDark ? ScriptTheme::dark() : ScriptTheme::light();
    theme.background = code.paper;
    theme.foreground = code.text;
    theme.comment = code.comment;
    theme.keyword = code.tag;
    theme.string = code.string;
    theme.number = code.entity;
    theme.lineNumberBackground = code.margin;
    theme.lineNumberForeground = code.marginText;
    theme.selection = code.selection;
    theme.caret = code.text;
    return theme;
}

} // namespace Vandra

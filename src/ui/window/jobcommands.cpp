#include "ui/window/jobcommands.h"

#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "store/exceptionscontroller.h"
#include "store/folderscontroller.h"
#include "store/notesstore.h"
#include "store/revisioncontroller.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "ui/common/codetheme.h"
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

#include <QAction>
#include <QMenu>

namespace {

// A sheet or window that goes away when closed.
template <typename Widget> Widget *opened(Widget *widget) {
    widget->setAttribute(Qt::WA_DeleteOnClose);
    widget->show();
    return widget;
}

} // namespace

JobCommands::JobCommands(MainWindow &window, JobEditor &editor, ActionController &controller)
    : QObject(&window)
    , m_window(window)
    , m_editor(editor)
    , m_controller(controller)
    , m_exceptions(new ExceptionsController(this))
    , m_scripts(new ScriptWindows(scriptTheme(), this)) {
    connect(&CodeTheme::shared(), &CodeTheme::changed, this,
            [this] { m_scripts->applyTheme(scriptTheme()); });
    QMenu *file = window.fileMenu();
    QAction *first = file->actions().value(0);
    const auto insert = [file, first](QAction *action) { file->insertAction(first, action); };

    insert(addCommand(nullptr, QStringLiteral("newScriptAction"), Localize::text("New Script…"),
                      &JobCommands::newScript));
    insert(addCommand(nullptr, QStringLiteral("editScriptAction"), Localize::text("Edit Script…"),
                      &JobCommands::editScript));
    file->insertSeparator(first);
    m_editPlist = addCommand(nullptr, QStringLiteral("editPlistAction"),
                             Localize::text("Edit Plist…"), &JobCommands::editPlist);
    m_log = addCommand(nullptr, QStringLiteral("showLogAction"), Localize::text("Log…"),
                       &JobCommands::showLog);
    m_notes = addCommand(nullptr, QStringLiteral("showNotesAction"), Localize::text("Notes…"),
                         &JobCommands::showNotes);
    for (QAction *action : {m_editPlist, m_log, m_notes})
        insert(action);
    // Start Now and Stop.
    m_start = addCommand(nullptr, QStringLiteral("startJobAction"), Localize::text("Start Now"),
                         &JobCommands::startJob);
    m_stop = addCommand(nullptr, QStringLiteral("stopJobAction"), Localize::text("Stop"),
                        &JobCommands::stopJob);
    insert(m_start);
    insert(m_stop);
    connect(&JobStatusSource::shared(), &JobStatusSource::statusChanged, this,
            &JobCommands::updateAvailability);
    QMenu *revisions = new QMenu(Localize::text("Revisions"), file);
    revisions->setObjectName(QStringLiteral("revisionsMenu"));
    file->insertMenu(first, revisions);
    new RevisionsMenu(revisions, RevisionController::shared(), file);
    file->insertSeparator(first);
    insert(addCommand(nullptr, QStringLiteral("extraFoldersAction"),
                      Localize::text("Extra Folders…"), &JobCommands::editFolders));
    QAction *preferences =
        addCommand(nullptr, QStringLiteral("preferencesAction"), Localize::text("Preferences…"),
                   &JobCommands::showPreferences);
    preferences->setShortcut(QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);
    insert(preferences);
    file->insertSeparator(first);

    // The toolbar's items for the same commands.
    if (QAction *edit = window.findChild<QAction *>(QStringLiteral("editAction")))
        connect(edit, &QAction::triggered, this, &JobCommands::editPlist);
    if (QAction *log = window.findChild<QAction *>(QStringLiteral("logAction")))
        connect(log, &QAction::triggered, this, &JobCommands::showLog);

    connect(&JobList::shared(), &JobList::currentJobChanged, this,
            &JobCommands::updateAvailability);
    connect(&Bindings::shared(), &Bindings::isLockedChanged, this,
            &JobCommands::updateAvailability);
    updateAvailability();
}

JobCommands::~JobCommands() = default;

QAction *JobCommands::addCommand(QMenu *menu, const QString &name, const QString &title,
                                 void (JobCommands::*command)()) {
    auto *action = new QAction(title, menu ? static_cast<QObject *>(menu) : this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, command);
    return action;
}

void JobCommands::updateAvailability() {
    const JobPtr &job = JobList::shared().currentJob();
    const bool hasFile = job && job->plist.has_value();
    m_editPlist->setEnabled(hasFile && !Bindings::shared().isLocked());
    m_log->setEnabled(bool(job));
    m_notes->setEnabled(bool(job));
    // The helper service tells the status of the jobs it loads; machine-wide ones are asked
    // of the privileged helper, which says when there is nothing to do.
    const bool isJob = hasFile && job->kind && job->url;
    const auto status = isJob ? JobStatusSource::shared().status(*job) : std::optional<JobStatus>();
    const bool isMachineWide = isJob && ActionController::isMachineWide(*job->kind);
    m_start->setEnabled(isMachineWide || (status && status->isLoaded && !status->isRunning));
    m_stop->setEnabled(isMachineWide || (status && status->isRunning));
    for (const char *name : {"editAction", "logAction"}) {
        if (QAction *item = m_window.findChild<QAction *>(QString::fromLatin1(name)))
            item->setEnabled(name == std::string_view("editAction") ? m_editPlist->isEnabled()
                                                                    : m_log->isEnabled());
    }
}

void JobCommands::editPlist() {
    if (m_editPlist->isEnabled())
        opened(new EditPlistSheet(&m_window));
}

void JobCommands::showLog() {
    if (const JobPtr &job = JobList::shared().currentJob())
        opened(new LogSheet(job, m_controller, &m_editor, &m_window));
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
        opened(new NotesSheet(job, NotesStore::shared(), &m_window));
}

void JobCommands::editFolders() {
    opened(new FoldersSheet(FoldersController::shared(), &m_window));
}

void JobCommands::showPreferences() {
    opened(new PreferencesWindow(
        Defaults::shared(), *m_exceptions, &m_controller, FoldersController::shared(),
        [this] { editFolders(); }, &m_window));
}

void JobCommands::newScript() {
    auto *sheet = new NewScriptSheet(m_editor, scriptTheme(), &m_window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

ScriptTheme JobCommands::scriptTheme() const {
    // Scripts take the colours of the code views' theme, so one choice colours every text.
    const CodeTheme::Colours &code = CodeTheme::shared().colours(m_window.palette());
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

void JobCommands::editScript() {
    m_scripts->editScript(&m_window);
}

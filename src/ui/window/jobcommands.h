#pragma once

#include "model/job.h"
#include "ui/window/commandavailability.h"

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QUrl>

#include <functional>

class QAction;
class QMenu;

namespace Vandra {

class ActionController;
class CodeTheme;
class ExceptionsController;
class FoldersController;
class FileManagerReveal;
class JobEditor;
class JobStatusSource;
class MainWindow;
class NotesStore;
class RevisionController;
class ScriptWindows;
class SheetWatcher;
class ShareMenu;
struct ScriptTheme;
struct WindowServices;

// The window's commands: the File menu, the toolbar's items and a job's context menu, each
// enabled by the rules of CommandAvailability as the current job, its edits and the window's
// sheets change. Commands that open a sheet or window open it on the main window.
class JobCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobCommands)

public:
    // Hands a URL to the desktop: a folder, a file, an application, an e-mail.
    using UrlOpener = std::function<bool(const QUrl &)>;

    JobCommands(MainWindow &window, JobEditor &editor, const WindowServices &services);
    ~JobCommands() override;

    void newJob();
    void importJob();
    void duplicate();
    void exportJob();
    void deleteJob();
    void save();
    void refresh();
    void showInfo();
    void test();
    void editPlist();
    void showLog();
    void showNotes();
    // Start Now and Stop: the current loaded job, through the helper that loaded it.
    void startJob();
    void stopJob();
    void editFolders();
    void showPreferences();
    void newScript();
    void editScript();

    // Shows job's file selected in the file manager; the folder of the session's login items
    // for one of them.
    void reveal(const JobPtr &job);
    // Starts an application that starts at login.
    void open(const JobPtr &job);

    // The context menu of job in a mode, built anew each time; the caller owns it.
    [[nodiscard]] QMenu *jobMenu(const JobPtr &job, int mode, QWidget *parent);
    [[nodiscard]] QMenu *shareMenu() const { return m_shareMenu; }
    [[nodiscard]] bool hasSheet() const;
    // Works the availability of every item out again, as opening the menu does.
    void updateAvailability();

    [[nodiscard]] ScriptWindows &scripts() const { return *m_scripts; }
    [[nodiscard]] FileManagerReveal &revealer() const { return *m_revealer; }
    // Tests keep the desktop out of it.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

private:
    using Command = CommandAvailability::Command;

    QAction *addCommand(const QString &name, const QString &title, void (JobCommands::*command)(),
                        Command rule, const QKeySequence &shortcut = QKeySequence());
    void buildFileMenu();
    void connectToolbar();
    void showJobMenu(const JobPtr &job, const QPoint &globalPosition);
    [[nodiscard]] CommandAvailability::State state() const;
    [[nodiscard]] ScriptTheme scriptTheme() const;
    bool openUrl(const QUrl &url) const;

    MainWindow &m_window;
    JobEditor &m_editor;
    ActionController &m_controller;
    NotesStore &m_notes;
    RevisionController &m_revisionStore;
    FoldersController &m_folders;
    CodeTheme &m_codeTheme;
    const JobStatusSource &m_status;
    SheetWatcher *m_sheets;
    ExceptionsController *m_exceptions;
    ScriptWindows *m_scripts;
    FileManagerReveal *m_revealer;
    UrlOpener m_openUrl;
    QMenu *m_revisions = nullptr;
    QMenu *m_shareMenu = nullptr;
    ShareMenu *m_share = nullptr;
    // The File menu's items with their rules.
    QHash<QAction *, Command> m_rules;
    QAction *m_start = nullptr;
    QAction *m_stop = nullptr;
};

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QMainWindow>

class QActionGroup;
class QButtonGroup;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace Vandra {

class DetailEditor;
class FilterPreparer;
class FolderMonitors;
class JobCommands;
class JobEditor;
class JobStatusSource;
class ModeView;
struct WindowServices;

// The main window: the toolbar with the mode control and the filter field, the page of the
// mode shown, and the editor of the current job beside it. Every way of leaving a job with
// unsaved edits (another job, another mode, a job URL, closing) asks the editor's
// unsaved-changes question first.
class MainWindow final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainWindow)

public:
    // The modes, by the position of their page.
    enum Mode { grid = 0, tree = 1, list = 2, timeline = 3, modeCount = 4 };

    MainWindow(JobEditor &editor, const WindowServices &services, QWidget *parent = nullptr);
    ~MainWindow() override;

    [[nodiscard]] int mode() const;
    // Shows a mode's page with the job list, remembers it, and leaves no current job; with
    // unsaved edits only once the user discards them.
    void switchMode(int mode);
    // Shows only the jobs whose text holds text (all for an empty text); the text stays for
    // the process and filters every later job list too.
    void filterJobs(const QString &text);
    // Makes job the current job, as picking it in a view does.
    void selectJob(const JobPtr &job);
    // Opens the job of the first URL, 0.3 s later, when it is a job URL and no dialog is
    // open; unsaved edits must be discarded first.
    void openUrls(const QStringList &urls);

    [[nodiscard]] ModeView *modeView(int mode) const;
    [[nodiscard]] ModeView *currentModeView() const;
    [[nodiscard]] DetailEditor *detailEditor() const { return m_detail; }
    [[nodiscard]] QMenu *fileMenu() const { return m_fileMenu; }
    [[nodiscard]] JobCommands *commands() const { return m_commands; }
    [[nodiscard]] QMenu *viewMenu() const { return m_viewMenu; }
    [[nodiscard]] QMenu *helpMenu() const { return m_helpMenu; }
    [[nodiscard]] QToolBar *toolbar() const { return m_toolbar; }
    [[nodiscard]] QLineEdit *filterField() const { return m_filterField; }
    [[nodiscard]] QWidget *modeControl() const { return m_modeControl; }

    // A line for the About box, such as how jobs are loaded on this machine.
    // Opens About Vandra.
    void showAbout();

    // Told while the program is quitting, so that folder changes are no longer followed.
    void setFolderMonitors(FolderMonitors *monitors) { m_monitors = monitors; }
    [[nodiscard]] bool isTerminating() const { return m_isTerminating; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void buildMenus();
    void buildFileMenu();
    void buildViewMenu();
    void buildHelpMenu();
    void showJobs();
    void currentJobChanged(const JobPtr &job);
    void updateViewMenu();
    void updateTitle();
    // True when the current job may be left: it has no unsaved edits, or the user discarded them.
    bool mayLeaveCurrentJob();

    JobEditor &m_editor;
    const JobStatusSource &m_status;
    JobCommands *m_commands = nullptr;
    QStackedWidget *m_modes;
    QList<ModeView *> m_modeViews;
    // Folds the texts of each new job list for the filter while the window is idle.
    FilterPreparer *m_filterPreparer;
    DetailEditor *m_detail;
    QLineEdit *m_filterField = nullptr;
    QWidget *m_modeControl = nullptr;
    QButtonGroup *m_modeButtons = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QToolBar *m_toolbar = nullptr;
    QActionGroup *m_modeActions = nullptr;
    QMenu *m_columnsMenu = nullptr;
    QAction *m_showSystemJobsAction = nullptr;
    FolderMonitors *m_monitors = nullptr;
    bool m_isTerminating = false;
};

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QObject>

class ActionController;
class ExceptionsController;
class JobEditor;
class MainWindow;
class QAction;
class QMenu;
class ScriptWindows;
struct ScriptTheme;

// The window's commands around the current job and the program: Edit Plist, Log and Notes
// for the current job, the Revisions submenu, extra folders, preferences and script
// documents. Each opens its sheet or window on the main window.
class JobCommands final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobCommands)

public:
    JobCommands(MainWindow &window, JobEditor &editor, ActionController &controller);
    ~JobCommands() override;

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

    [[nodiscard]] ScriptWindows &scripts() const { return *m_scripts; }

private:
    QAction *addCommand(QMenu *menu, const QString &name, const QString &title,
                        void (JobCommands::*command)());
    void updateAvailability();
    [[nodiscard]] ScriptTheme scriptTheme() const;

    MainWindow &m_window;
    JobEditor &m_editor;
    ActionController &m_controller;
    ExceptionsController *m_exceptions;
    ScriptWindows *m_scripts;
    QAction *m_editPlist = nullptr;
    QAction *m_log = nullptr;
    QAction *m_notes = nullptr;
    QAction *m_start = nullptr;
    QAction *m_stop = nullptr;
};

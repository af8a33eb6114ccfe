#pragma once

#include "store/folderscontroller.h"
#include "store/notesstore.h"
#include "store/revisioncontroller.h"
#include "ui/common/codetheme.h"
#include "ui/common/programicons.h"
#include "ui/common/windowservices.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

namespace Vandra {

class ActionController;
class DialogInteraction;
class FolderMonitors;
class JobHealth;
class JobEditor;
class JobStatusSource;
class MainWindow;

// Takes the program from its start to the first job list and keeps the job list in step
// with the folders while the window is open.
class AppController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AppController)

public:
    explicit AppController(QObject *parent = nullptr);
    ~AppController() override;

    // Once the application object exists: the settings' defaults, the user's agents folder,
    // the extra folders, the reading of the job list when it is still empty, the icons, the
    // one action controller and job editor, the jobs' live status and health, and the main
    // window wired to them.
    void prepare();
    // Once the event loop runs: the jobs' live status, then the folder monitors, then the
    // notification agent's login item.
    void finishLaunching();
    // Shows the main window, in full screen when the settings prefer it.
    void showWindow();
    // Job URLs from another process.
    void openUrls(const QStringList &urls);

    [[nodiscard]] MainWindow *window() const { return m_window.get(); }
    [[nodiscard]] FolderMonitors *monitors() const { return m_monitors.get(); }
    // What the window uses, once prepared.
    [[nodiscard]] const WindowServices &services() const { return *m_services; }
    [[nodiscard]] JobEditor *editor() const { return m_editor.get(); }

Q_SIGNALS:
    // The folder monitors watch.
    void monitorsStarted();

private:
    // Declared before what uses them, so that they end after it.
    NotesStore m_notes;
    FoldersController m_folders;
    RevisionController m_revisions;
    CodeTheme m_codeTheme;
    std::unique_ptr<FolderMonitors> m_monitors;
    std::unique_ptr<ActionController> m_actions;
    std::unique_ptr<JobStatusSource> m_status;
    std::unique_ptr<JobHealth> m_health;
    ProgramIcons m_icons;
    std::optional<WindowServices> m_services;
    // The editor goes after the window that shows it.
    std::unique_ptr<JobEditor> m_editor;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<DialogInteraction> m_interaction;
};

} // namespace Vandra

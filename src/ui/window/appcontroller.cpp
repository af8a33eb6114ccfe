#include "ui/window/appcontroller.h"

#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "store/agentswitch.h"
#include "store/foldermonitors.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "support/defaults.h"
#include "support/delay.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "ui/common/dialoginteraction.h"
#include "ui/common/icons.h"
#include "ui/common/jobhealth.h"
#include "ui/preferences/themespreferences.h"
#include "ui/window/mainwindow.h"
#include "ui/window/programend.h"

#include <QDir>

namespace Vandra {

namespace {

constexpr double monitorsDelay = 0.01;
constexpr double agentDelay = 1.0;

} // namespace

AppController::AppController(QObject *parent)
    : QObject(parent)
    , m_monitors(std::make_unique<FolderMonitors>(m_folders)) {}

AppController::~AppController() {
    // The window first: what goes with it may still send a request (a test's job removed).
    m_window.reset();
    m_editor.reset();
    if (m_actions)
        ProgramEnd::writePending(m_notes, *m_actions);
    Interaction::setShared(nullptr);
}

void AppController::prepare() {
    Defaults::shared().registerDefaults();
    Icons::setUp();
    ThemesPreferences::restore(Defaults::shared(), m_codeTheme);
    m_interaction = std::make_unique<DialogInteraction>();
    Interaction::setShared(m_interaction.get());

    if (const std::optional<QString> agents = Kinds::url(Kind::userAgent)) {
        if (!QDir().mkpath(*agents)) {
            Interaction::error(
                Localize::format(Localize::text("The folder “%@” could not be created."),
                                 {*agents}),
                Localize::pleaseTryAgain());
        }
    }
    m_folders.load();
    // The first list is read on workers while the window is made and shown, which takes a
    // while of its own.
    if (JobList::shared().jobs().isEmpty())
        JobDiscovery::reloadJobsLater();

    m_actions = std::make_unique<ActionController>(ActionController::Setup::standard());
    m_status = std::make_unique<JobStatusSource>(ActionController::Setup::standard());
    m_health = std::make_unique<JobHealth>(*m_status);
    m_services.emplace(WindowServices{*m_actions, m_notes, m_revisions, m_folders, m_codeTheme,
                                      ViewServices{*m_status, *m_health, m_icons}});
    m_editor = std::make_unique<JobEditor>(*m_actions, m_revisions);
    m_window = std::make_unique<MainWindow>(*m_editor, *m_services);
    m_window->setFolderMonitors(m_monitors.get());
    m_interaction->setWindow(m_window.get());
}

void AppController::showWindow() {
    if (Defaults::shared().preferFullScreen())
        m_window->showFullScreen();
    else
        m_window->show();
}

void AppController::finishLaunching() {
    m_status->start();
    Delay::after(monitorsDelay, this, [this] {
        m_monitors->start();
        Q_EMIT monitorsStarted();
        Delay::after(agentDelay, this, [] { AgentSwitch::apply(); });
    });
}

void AppController::openUrls(const QStringList &urls) {
    if (m_window)
        m_window->openUrls(urls);
}

} // namespace Vandra

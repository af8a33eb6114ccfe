#include "ui/window/appcontroller.h"

#include "actions/actioncontroller.h"
#include "actions/jobstatussource.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "store/agentswitch.h"
#include "store/foldermonitors.h"
#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "store/jobeditor.h"
#include "support/defaults.h"
#include "support/delay.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "ui/common/codetheme.h"
#include "ui/common/dialoginteraction.h"
#include "ui/common/icons.h"
#include "ui/preferences/themespreferences.h"
#include "ui/window/mainwindow.h"

#include <QDir>

namespace Vandra {

namespace {

constexpr double monitorsDelay = 0.01;
constexpr double agentDelay = 1.0;

} // namespace

AppController::AppController(QObject *parent)
    : QObject(parent)
    , m_monitors(new FolderMonitors(this)) {}

AppController::~AppController() {
    m_window.reset();
    m_editor.reset();
    Interaction::setShared(nullptr);
}

void AppController::prepare() {
    Defaults::shared().registerDefaults();
    Icons::setUp();
    ThemesPreferences::restore(Defaults::shared(), CodeTheme::shared());
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
    FoldersController::shared().load();

    ActionController &controller = ActionController::shared();
    m_editor = std::make_unique<JobEditor>(controller);
    m_window = std::make_unique<MainWindow>(*m_editor, controller);
    m_window->setFolderMonitors(m_monitors);
    m_interaction->setWindow(m_window.get());
}

void AppController::showWindow() {
    if (Defaults::shared().preferFullScreen())
        m_window->showFullScreen();
    else
        m_window->show();
}

void AppController::finishLaunching() {
    if (JobList::shared().jobs().isEmpty())
        JobDiscovery::reloadJobsLater();
    JobStatusSource::shared().start();
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

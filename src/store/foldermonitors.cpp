#include "store/foldermonitors.h"

#include "model/kind.h"
#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "support/delay.h"
#include "support/limit.h"
#include "support/singlefoldermonitor.h"

#include <QCoreApplication>

namespace Vandra {

namespace {

const QString limitIdentifier = QStringLiteral("MainMonitor");
constexpr double limitSeconds = 1.0;
constexpr double reloadDelay = 0.1;

} // namespace

FolderMonitors::FolderMonitors(const FoldersController &folders, QObject *parent)
    : QObject(parent)
    , m_folders(folders) {
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_isTerminating = true; });
}

FolderMonitors::~FolderMonitors() {
    // Before the watcher they use.
    qDeleteAll(m_monitors);
    qDeleteAll(m_extraMonitors);
}

void FolderMonitors::start() {
    if (!m_monitors.isEmpty())
        return;
    for (const Kind kind : Kinds::folderKinds()) {
        const std::optional<QString> folder = Kinds::url(kind);
        if (!folder)
            continue;
        auto *monitor = new SingleFolderMonitor(*folder, m_watcher, this);
        connect(monitor, &SingleFolderMonitor::changed, this, &FolderMonitors::folderChanged);
        m_monitors.append(monitor);
    }
    followExtraFolders();
    connect(&m_folders, &FoldersController::foldersChanged, this,
            &FolderMonitors::followExtraFolders);
}

void FolderMonitors::followExtraFolders() {
    QStringList paths;
    for (const Folder &folder : m_folders.folders())
        paths.append(folder.secureURL.path());
    QList<SingleFolderMonitor *> kept;
    for (SingleFolderMonitor *monitor : std::as_const(m_extraMonitors)) {
        if (paths.removeOne(monitor->path()))
            kept.append(monitor);
        else
            delete monitor;
    }
    // What is left in paths was added since.
    for (const QString &path : std::as_const(paths)) {
        auto *monitor = new SingleFolderMonitor(path, m_watcher, this);
        connect(monitor, &SingleFolderMonitor::changed, this, &FolderMonitors::folderChanged);
        kept.append(monitor);
    }
    m_extraMonitors = kept;
}

void FolderMonitors::folderChanged() {
    if (m_isTerminating || QCoreApplication::closingDown())
        return;
    Limit::interval(limitIdentifier, limitSeconds, this, [this] {
        Delay::after(reloadDelay, this, [this] {
            if (m_isTerminating)
                return;
            Q_EMIT reloading();
            JobDiscovery::reloadJobsLater();
        });
    });
}

} // namespace Vandra

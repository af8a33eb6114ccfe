#include "store/foldermonitors.h"

#include "model/kind.h"
#include "store/jobdiscovery.h"
#include "support/delay.h"
#include "support/limit.h"
#include "support/singlefoldermonitor.h"

#include <QCoreApplication>

namespace {

const QString limitIdentifier = QStringLiteral("MainMonitor");
constexpr double limitSeconds = 1.0;
constexpr double reloadDelay = 0.1;

} // namespace

FolderMonitors::FolderMonitors(QObject *parent)
    : QObject(parent) {
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_isTerminating = true; });
}

FolderMonitors::~FolderMonitors() = default;

void FolderMonitors::start() {
    if (!m_monitors.isEmpty())
        return;
    for (const Kind kind : Kinds::folderKinds()) {
        const std::optional<QString> folder = Kinds::url(kind);
        if (!folder)
            continue;
        auto *monitor = new SingleFolderMonitor(*folder, this);
        connect(monitor, &SingleFolderMonitor::changed, this, &FolderMonitors::folderChanged);
        m_monitors.append(monitor);
    }
}

void FolderMonitors::folderChanged() {
    if (m_isTerminating || QCoreApplication::closingDown())
        return;
    Limit::interval(limitIdentifier, limitSeconds, this, [this] {
        Delay::after(reloadDelay, this, [this] {
            if (m_isTerminating)
                return;
            Q_EMIT reloading();
            JobDiscovery::reloadJobs();
        });
    });
}

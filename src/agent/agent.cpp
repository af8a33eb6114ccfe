#include "agent/agent.h"

#include "agent/desktopnotifications.h"
#include "agent/notices.h"
#include "model/kind.h"
#include "support/const.h"
#include "support/delay.h"
#include "support/limit.h"
#include "support/locations.h"
#include "support/singlefoldermonitor.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Vandra {

namespace {

const QString limitIdentifier = QStringLiteral("AgentMonitor");
// As the program's own monitors: at most one look per second, a moment after the change,
// so that a burst of writes is seen whole.
constexpr double limitSeconds = 1.0;
constexpr double lookDelay = 0.1;

QString exceptionsFile() {
    return Locations::shared().appSupport() + u'/' + Const::FileName::exceptions;
}

} // namespace

Agent::Agent(DesktopNotifications &notifications, QObject *parent)
    : QObject(parent)
    , m_notifications(notifications)
    , m_exceptions(exceptionsFile())
    , m_contentWatcher(this) {
    connect(&m_contentWatcher, &QFileSystemWatcher::fileChanged, this, &Agent::folderChanged);
}

Agent::~Agent() {
    // Before the watcher they use.
    qDeleteAll(m_monitors);
}

QString Agent::snapshotFile() {
    return Locations::shared().appSupport() + QStringLiteral("/AgentSnapshot.plist");
}

void Agent::start() {
    const std::optional<JobSnapshot> previous = JobSnapshot::read(snapshotFile());
    const JobSnapshot current = JobSnapshot::scan(previous.value_or(JobSnapshot()));
    if (previous)
        report(current.changesSince(*previous));
    if (!previous || current != *previous)
        current.write(snapshotFile());
    remember(current);

    for (const Kind kind : Kinds::folderKinds()) {
        if (const std::optional<QString> folder = Kinds::url(kind)) {
            auto *monitor = new SingleFolderMonitor(*folder, m_folderWatcher, this);
            connect(monitor, &SingleFolderMonitor::changed, this, &Agent::folderChanged);
            m_monitors.append(monitor);
        }
    }
}

void Agent::folderChanged() {
    if (QCoreApplication::closingDown())
        return;
    Limit::interval(limitIdentifier, limitSeconds, this,
                    [this] { Delay::after(lookDelay, this, [this] { look(); }); });
}

void Agent::look() {
    const JobSnapshot current = JobSnapshot::scan(m_snapshot);
    const QList<JobChange> changes = current.changesSince(m_snapshot);
    if (current != m_snapshot)
        current.write(snapshotFile());
    remember(current);
    report(changes);
}

// Files replaced by a rename are new files: the watch moves to what is there now.
void Agent::remember(const JobSnapshot &snapshot) {
    m_snapshot = snapshot;
    const QStringList watched = m_contentWatcher.files();
    if (!watched.isEmpty())
        m_contentWatcher.removePaths(watched);
    QStringList files = m_snapshot.contentFiles();
    files.removeIf([](const QString &file) { return !QFileInfo::exists(file); });
    if (!files.isEmpty())
        m_contentWatcher.addPaths(files);
}

void Agent::report(const QList<JobChange> &changes) {
    QList<JobChange> told;
    for (const JobChange &change : changes) {
        if (!m_exceptions.isExcepted(change.label))
            told.append(change);
    }
    if (told.size() > Notices::batchLimit) {
        m_notifications.show(Notices::forBatch(told));
        return;
    }
    for (const JobChange &change : std::as_const(told))
        m_notifications.show(Notices::forChange(change));
}

} // namespace Vandra

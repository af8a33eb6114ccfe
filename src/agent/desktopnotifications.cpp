#include "agent/desktopnotifications.h"

#include "agent/journallog.h"
#include "support/const.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace Vandra {

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString showAction = QStringLiteral("show");
// Servers send this one when the notice itself is clicked.
const QString defaultAction = QStringLiteral("default");

void logNotice(const Notice &notice) {
    JournalLog::write(notice.summary + QStringLiteral(": ") + notice.body);
}

} // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus) {
    if (!m_bus.isConnected())
        return;
    m_bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                  SLOT(actionInvoked(uint, QString)));
    m_bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                  SLOT(notificationClosed(uint, uint)));
}

void DesktopNotifications::show(const Notice &notice) {
    if (!m_bus.isConnected()) {
        logNotice(notice);
        return;
    }
    QStringList actions;
    if (!notice.jobPath.isEmpty()) {
        const QString show = QCoreApplication::translate("DesktopNotifications", "Show");
        actions = {defaultAction, show, showAction, show};
    }
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("vandra")}};
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    // Servers may read the body as markup; a label is text, never markup.
    call << Const::AppName::vandrax << uint(0) << QStringLiteral("vandra") << notice.summary
         << notice.body.toHtmlEscaped() << actions << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, notice] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError()) {
            logNotice(notice);
            return;
        }
        if (!notice.jobPath.isEmpty())
            m_jobPaths.insert(reply.value(), notice.jobPath);
    });
}

void DesktopNotifications::actionInvoked(uint id, const QString &action) {
    const auto found = m_jobPaths.constFind(id);
    if (found == m_jobPaths.cend() || (action != showAction && action != defaultAction))
        return;
    Q_EMIT showRequested(*found);
}

void DesktopNotifications::notificationClosed(uint id, uint reason) {
    Q_UNUSED(reason)
    m_jobPaths.remove(id);
}

} // namespace Vandra

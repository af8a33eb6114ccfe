#pragma once

#include "agent/notice.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

namespace Vandra {

// Shows notices through the desktop's notification service (org.freedesktop.Notifications
// on the session bus), with a "Show" button for a notice about a job. Where no service
// answers, the notice goes to the journal instead.
class DesktopNotifications final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifications)

public:
    explicit DesktopNotifications(const QDBusConnection &bus, QObject *parent = nullptr);

    // Sends the notice without waiting for the service's answer.
    void show(const Notice &notice);

Q_SIGNALS:
    // The user pressed "Show" (or the notice itself) on a notice about this job file.
    void showRequested(const QString &jobPath);

private Q_SLOTS:
    void actionInvoked(uint id, const QString &action);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    // The job files of the notices still on screen, by the service's notification id.
    QHash<uint, QString> m_jobPaths;
};

} // namespace Vandra

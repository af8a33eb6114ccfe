#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusMessage;

namespace Vandra {

// Tells when systemd changes a unit: the manager is asked to send its signals, and every
// change of a unit's properties is reported with the unit's name, so that live status is
// read again when it changes rather than by polling.
class SystemdWatcher final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemdWatcher)

public:
    explicit SystemdWatcher(const QDBusConnection &bus, QObject *parent = nullptr);

    // Subscribes to the manager's signals; false when the manager does not answer.
    bool start();
    // The unit name of a unit object's path, as systemd escapes it for the bus.
    [[nodiscard]] static QString unitName(const QString &objectPath);

Q_SIGNALS:
    void unitChanged(const QString &name);

private Q_SLOTS:
    void propertiesChanged(const QDBusMessage &message);

private:
    QDBusConnection m_bus;
};

} // namespace Vandra

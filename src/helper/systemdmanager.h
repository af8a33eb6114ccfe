#pragma once

#include "helper/systemdstatus.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class QDBusMessage;

namespace Vandra {

// A small client of systemd's manager (org.freedesktop.systemd1.Manager) on a bus: the
// system bus for the system manager, the session bus for the user's. Calls wait for their
// reply, with a bound; the helpers have no window to keep responsive.
class SystemdManager final {
public:
    static inline const QString service = QStringLiteral("org.freedesktop.systemd1");
    static inline const QString path = QStringLiteral("/org/freedesktop/systemd1");
    static inline const QString interface = QStringLiteral("org.freedesktop.systemd1.Manager");

    explicit SystemdManager(const QDBusConnection &bus)
        : m_bus(bus) {}

    [[nodiscard]] const QDBusConnection &bus() const { return m_bus; }
    // Whether a manager answers on the bus.
    [[nodiscard]] bool isReachable() const;

    bool reload(QString *error);
    // Links unit files (full paths) into the targets their [Install] sections name.
    bool enable(const QStringList &unitFiles, QString *error);
    bool disable(const QStringList &names, QString *error);
    bool start(const QString &name, QString *error);
    // Stopping a unit the manager has not loaded succeeds.
    bool stop(const QString &name, QString *error);
    // The file the manager reads a unit from: empty when there is none, nothing on failure.
    [[nodiscard]] std::optional<QString> fragmentPath(const QString &name, QString *error) const;

    // The status of a job's service and, when it has one, its timer (unit names).
    [[nodiscard]] SystemdStatus status(const QString &service, const QString &timer) const;

private:
    // How long a call may take, in ms.
    static constexpr int callTimeout = 15000;

    std::optional<QDBusMessage> call(const QString &method, const QVariantList &arguments,
                                     QString *error) const;

    [[nodiscard]] QVariantMap properties(const QString &unit, const QString &interface) const;

    QDBusConnection m_bus;
};

} // namespace Vandra

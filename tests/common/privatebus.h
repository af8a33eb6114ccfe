#pragma once

#include "common/testroot.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>

namespace Vandra {

// A session bus of the test's own, with a configuration that starts no service by itself,
// so that a service installed on the machine never answers in place of the test's fake.
class PrivateBus final {
public:
    explicit PrivateBus(const TestRoot &root) {
        const QString config = root.write(QStringLiteral("bus.conf"),
                                          QString::fromUtf8(configText).arg(root.path()).toUtf8());
        m_bus.start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--config-file=") + config, QStringLiteral("--print-address"),
                     QStringLiteral("--nofork")});
        if (!m_bus.waitForStarted() || !m_bus.waitForReadyRead(10000))
            return;
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
    }
    ~PrivateBus() {
        for (const QString &name : std::as_const(m_names))
            QDBusConnection::disconnectFromBus(name);
        m_bus.kill();
        m_bus.waitForFinished();
    }
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    [[nodiscard]] const QString &address() const { return m_address; }

    // A new connection to the bus under a name of its own.
    QDBusConnection connect(const QString &name) {
        m_names.append(name);
        return QDBusConnection::connectToBus(m_address, name);
    }

    static constexpr const char *configText =
        "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN\"\n"
        " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
        "<busconfig>\n"
        "  <type>session</type>\n"
        "  <listen>unix:dir=%1</listen>\n"
        "  <auth>EXTERNAL</auth>\n"
        "  <policy context=\"default\">\n"
        "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
        "    <allow eavesdrop=\"true\"/>\n"
        "    <allow own=\"*\"/>\n"
        "  </policy>\n"
        "</busconfig>\n";

private:
    QProcess m_bus;
    QString m_address;
    QStringList m_names;
};

} // namespace Vandra

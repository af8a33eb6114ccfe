#include "helper/systemdmanager.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QTimeZone>

#include <limits>

namespace Vandra {

namespace {

const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

} // namespace

std::optional<QDBusMessage>
SystemdManager::call(const QString &method, const QVariantList &arguments, QString *error) const {
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        *error = QStringLiteral("systemd: %1: %2").arg(method, reply.errorMessage());
        return std::nullopt;
    }
    return reply;
}

bool SystemdManager::isReachable() const {
    if (!m_bus.isConnected())
        return false;
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, path, propertiesInterface, QStringLiteral("Get"));
    message.setArguments({interface, QStringLiteral("Version")});
    return m_bus.call(message, QDBus::Block, callTimeout).type() == QDBusMessage::ReplyMessage;
}

bool SystemdManager::reload(QString *error) {
    return call(QStringLiteral("Reload"), {}, error).has_value();
}

bool SystemdManager::enable(const QStringList &unitFiles, QString *error) {
    // Not for this boot only, and replacing links that point elsewhere.
    return call(QStringLiteral("EnableUnitFiles"), {unitFiles, false, true}, error).has_value();
}

bool SystemdManager::disable(const QStringList &names, QString *error) {
    return call(QStringLiteral("DisableUnitFiles"), {names, false}, error).has_value();
}

bool SystemdManager::start(const QString &name, QString *error) {
    return call(QStringLiteral("StartUnit"), {name, QStringLiteral("replace")}, error).has_value();
}

bool SystemdManager::stop(const QString &name, QString *error) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("StopUnit"));
    message.setArguments({name, QStringLiteral("replace")});
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeout);
    if (reply.type() == QDBusMessage::ReplyMessage ||
        reply.errorName() == QStringLiteral("org.freedesktop.systemd1.NoSuchUnit"))
        return true;
    *error = QStringLiteral("systemd: StopUnit: %1").arg(reply.errorMessage());
    return false;
}

std::optional<QString> SystemdManager::fragmentPath(const QString &name, QString *error) const {
    const auto loaded = call(QStringLiteral("LoadUnit"), {name}, error);
    if (!loaded)
        return std::nullopt;
    const auto unit = loaded->arguments().value(0).value<QDBusObjectPath>();
    QDBusMessage message = QDBusMessage::createMethodCall(service, unit.path(), propertiesInterface,
                                                          QStringLiteral("Get"));
    message.setArguments(
        {QStringLiteral("org.freedesktop.systemd1.Unit"), QStringLiteral("FragmentPath")});
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        *error = QStringLiteral("systemd: FragmentPath of %1: %2").arg(name, reply.errorMessage());
        return std::nullopt;
    }
    return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
}

QVariantMap SystemdManager::properties(const QString &unit, const QString &unitInterface) const {
    QString error;
    const auto loaded = call(QStringLiteral("LoadUnit"), {unit}, &error);
    if (!loaded)
        return {};
    const auto object = loaded->arguments().value(0).value<QDBusObjectPath>();
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, object.path(), propertiesInterface, QStringLiteral("GetAll"));
    message.setArguments({unitInterface});
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeout);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {};
    QVariantMap map;
    reply.arguments().value(0).value<QDBusArgument>() >> map;
    return map;
}

SystemdStatus SystemdManager::status(const QString &serviceName, const QString &timer) const {
    // Timestamps come in microseconds since the epoch; 0 means never.
    const auto moment = [](const QVariant &value) -> std::optional<QDateTime> {
        const qulonglong usec = value.toULongLong();
        if (usec == 0 || usec == std::numeric_limits<qulonglong>::max())
            return std::nullopt;
        return QDateTime::fromMSecsSinceEpoch(qint64(usec / 1000), QTimeZone::utc());
    };
    SystemdStatus status;
    const QVariantMap unit =
        properties(serviceName, QStringLiteral("org.freedesktop.systemd1.Unit"));
    status.isLoaded =
        unit.value(QStringLiteral("LoadState")).toString() == QStringLiteral("loaded");
    if (!status.isLoaded)
        return status;
    status.isRunning =
        unit.value(QStringLiteral("ActiveState")).toString() == QStringLiteral("active") &&
        unit.value(QStringLiteral("SubState")).toString() == QStringLiteral("running");
    const QVariantMap process =
        properties(serviceName, QStringLiteral("org.freedesktop.systemd1.Service"));
    if (const uint pid = process.value(QStringLiteral("MainPID")).toUInt(); pid != 0)
        status.pid = pid;
    status.lastExitTime = moment(process.value(QStringLiteral("ExecMainExitTimestamp")));
    if (status.lastExitTime)
        status.lastExitStatus = process.value(QStringLiteral("ExecMainStatus")).toInt();
    if (!timer.isEmpty())
        status.nextRun = moment(properties(timer, QStringLiteral("org.freedesktop.systemd1.Timer"))
                                    .value(QStringLiteral("NextElapseUSecRealtime")));
    return status;
}

} // namespace Vandra

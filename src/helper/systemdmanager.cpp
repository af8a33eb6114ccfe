#include "helper/systemdmanager.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

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

#include "helper/systemdwatcher.h"

#include "helper/systemdmanager.h"

#include <QDBusMessage>

namespace Vandra {

namespace {

const QString unitPrefix = QStringLiteral("/org/freedesktop/systemd1/unit/");

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

SystemdWatcher::SystemdWatcher(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus) {}

bool SystemdWatcher::start() {
    QDBusMessage subscribe =
        QDBusMessage::createMethodCall(SystemdManager::service, SystemdManager::path,
                                       SystemdManager::interface, QStringLiteral("Subscribe"));
    if (m_bus.call(subscribe, QDBus::Block, 15000).type() != QDBusMessage::ReplyMessage)
        return false;
    return m_bus.connect(
        SystemdManager::service, QString(), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), this, SLOT(propertiesChanged(QDBusMessage)));
}

QString SystemdWatcher::unitName(const QString &objectPath) {
    if (!objectPath.startsWith(unitPrefix))
        return {};
    // systemd writes every byte outside [A-Za-z0-9] of the name as "_" and two hex digits.
    const QString escaped = objectPath.mid(unitPrefix.size());
    QByteArray name;
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        const QChar c = escaped.at(i);
        if (c != QLatin1Char('_')) {
            name += char(c.unicode());
            continue;
        }
        const int high = i + 2 < escaped.size() ? hexValue(escaped.at(i + 1)) : -1;
        const int low = i + 2 < escaped.size() ? hexValue(escaped.at(i + 2)) : -1;
        if (high < 0 || low < 0)
            return {};
        name += char(high * 16 + low);
        i += 2;
    }
    return QString::fromUtf8(name);
}

void SystemdWatcher::propertiesChanged(const QDBusMessage &message) {
    const QString name = unitName(message.path());
    if (!name.isEmpty())
        Q_EMIT unitChanged(name);
}

} // namespace Vandra

#include "platform/plistkeys.h"

#include <QHash>

namespace Vandra {

namespace PlistKeys {

namespace {

// Texts from literals: copying one neither allocates nor counts references, so readers on
// several threads share them without contention.
const QHash<QByteArrayView, QString> &knownKeys() {
    static const QHash<QByteArrayView, QString> keys = [] {
        static const QString texts[] = {
            QStringLiteral("AbandonProcessGroup"),
            QStringLiteral("AssociatedBundleIdentifiers"),
            QStringLiteral("CF$UID"),
            QStringLiteral("Day"),
            QStringLiteral("Debug"),
            QStringLiteral("Disabled"),
            QStringLiteral("EnableGlobbing"),
            QStringLiteral("EnableTransactions"),
            QStringLiteral("EnvironmentVariables"),
            QStringLiteral("ExitTimeOut"),
            QStringLiteral("GroupName"),
            QStringLiteral("Hour"),
            QStringLiteral("HardResourceLimits"),
            QStringLiteral("InetdCompatibility"),
            QStringLiteral("InitGroups"),
            QStringLiteral("KeepAlive"),
            QStringLiteral("LANG"),
            QStringLiteral("Label"),
            QStringLiteral("LaunchEvents"),
            QStringLiteral("LaunchOnlyOnce"),
            QStringLiteral("LimitLoadFromHosts"),
            QStringLiteral("LimitLoadToHosts"),
            QStringLiteral("LimitLoadToSessionType"),
            QStringLiteral("Listeners"),
            QStringLiteral("LowPriorityIO"),
            QStringLiteral("MachServices"),
            QStringLiteral("Minute"),
            QStringLiteral("Month"),
            QStringLiteral("Nice"),
            QStringLiteral("OnDemand"),
            QStringLiteral("PATH"),
            QStringLiteral("Program"),
            QStringLiteral("ProgramArguments"),
            QStringLiteral("ProcessType"),
            QStringLiteral("QueueDirectories"),
            QStringLiteral("RootDirectory"),
            QStringLiteral("RunAtLoad"),
            QStringLiteral("SockFamily"),
            QStringLiteral("SockNodeName"),
            QStringLiteral("SockServiceName"),
            QStringLiteral("SockType"),
            QStringLiteral("Sockets"),
            QStringLiteral("SoftResourceLimits"),
            QStringLiteral("StandardErrorPath"),
            QStringLiteral("StandardInPath"),
            QStringLiteral("StandardOutPath"),
            QStringLiteral("StartCalendarInterval"),
            QStringLiteral("StartInterval"),
            QStringLiteral("StartOnMount"),
            QStringLiteral("SuccessfulExit"),
            QStringLiteral("ThrottleInterval"),
            QStringLiteral("ThrottleRatio"),
            QStringLiteral("TimeOut"),
            QStringLiteral("Umask"),
            QStringLiteral("UserName"),
            QStringLiteral("WaitForDebugger"),
            QStringLiteral("WatchPaths"),
            QStringLiteral("Weekday"),
            QStringLiteral("WorkingDirectory"),
        };
        // The views point into the literals' Latin-1 twins below, which live as long.
        static QList<QByteArray> names;
        QHash<QByteArrayView, QString> map;
        names.reserve(std::size(texts));
        map.reserve(qsizetype(std::size(texts)));
        for (const QString &key : texts) {
            names.append(key.toLatin1());
            map.insert(QByteArrayView(names.last()), key);
        }
        return map;
    }();
    return keys;
}

} // namespace

QString text(QByteArrayView latin1) {
    const QHash<QByteArrayView, QString> &keys = knownKeys();
    const auto found = keys.constFind(latin1);
    return found != keys.cend() ? *found : QString::fromLatin1(latin1);
}

} // namespace PlistKeys

} // namespace Vandra

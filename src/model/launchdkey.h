#pragma once

#include <QString>

namespace Vandra {

// The launchd keys the reader and writer name.
namespace LaunchdKey {

inline const QString Label = QStringLiteral("Label");
inline const QString Disabled = QStringLiteral("Disabled");
inline const QString Program = QStringLiteral("Program");
inline const QString ProgramArguments = QStringLiteral("ProgramArguments");
inline const QString KeepAlive = QStringLiteral("KeepAlive");
inline const QString SuccessfulExit = QStringLiteral("SuccessfulExit");
inline const QString OnDemand = QStringLiteral("OnDemand");
inline const QString WatchPaths = QStringLiteral("WatchPaths");
inline const QString StartInterval = QStringLiteral("StartInterval");
inline const QString MachServices = QStringLiteral("MachServices");
inline const QString LimitLoadToSessionType = QStringLiteral("LimitLoadToSessionType");
inline const QString EnvironmentVariables = QStringLiteral("EnvironmentVariables");
inline const QString WorkingDirectory = QStringLiteral("WorkingDirectory");
inline const QString StandardErrorPath = QStringLiteral("StandardErrorPath");
inline const QString AbandonProcessGroup = QStringLiteral("AbandonProcessGroup");

namespace StartCalendarInterval {
inline const QString key = QStringLiteral("StartCalendarInterval");
inline const QString Month = QStringLiteral("Month");
inline const QString Day = QStringLiteral("Day");
inline const QString Weekday = QStringLiteral("Weekday");
inline const QString Hour = QStringLiteral("Hour");
inline const QString Minute = QStringLiteral("Minute");
} // namespace StartCalendarInterval

} // namespace LaunchdKey

} // namespace Vandra

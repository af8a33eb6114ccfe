#pragma once

#include <QString>

namespace Vandra {

// Fixed texts and values of the program, the same for the whole run.
namespace Const {

inline const QString separator = QStringLiteral(" – ");
// Label prefix of the program's own helper jobs (hidden unless asked for).
inline const QString labelPrefix = QStringLiteral("org.vandra.");
// Login-item identifier of the notification agent.
inline const QString agent = QStringLiteral("org.vandra.agent");
inline const QString textEncodingAttributeName = QStringLiteral("user.vandra.text-encoding");
inline const QString siteURL = QStringLiteral("https://vandra.org/help/");

namespace AppName {
inline const QString vandrax = QStringLiteral("Vandra");
inline const QString systemPreferences = QStringLiteral("System Settings");
} // namespace AppName

namespace PathComponent {
inline const QString launchAgents = QStringLiteral("LaunchAgents");
inline const QString launchDaemons = QStringLiteral("LaunchDaemons");
inline const QString startupItems = QStringLiteral("StartupItems");
} // namespace PathComponent

namespace FileName {
inline const QString dsStore = QStringLiteral(".DS_Store");
inline const QString exceptions = QStringLiteral("Exceptions.plist");
inline const QString revisions = QStringLiteral("Revisions.plist");
inline const QString notes = QStringLiteral("Notes.plist");
// The parameters file of a legacy startup item, inside the item's folder.
inline const QString startupParameters = QStringLiteral("StartupParameters.plist");
} // namespace FileName

namespace Revision {
// Stored in the revisions file: never change once released.
inline const QString date = QStringLiteral("date");
inline const QString plist = QStringLiteral("plist");
} // namespace Revision

namespace Key {
inline const QString exceptions = QStringLiteral("exceptions");
inline const QString exceptionsPrefix = QStringLiteral("exceptionsPrefix");
} // namespace Key

namespace StartupItemKey {
inline const QString description = QStringLiteral("Description");
inline const QString provides = QStringLiteral("Provides");
} // namespace StartupItemKey

// Interpreters and tools as the Run field names them.
namespace Command {
inline const QString osascript = QStringLiteral("/usr/bin/osascript");
inline const QString automator = QStringLiteral("/usr/bin/automator");
inline const QString perl = QStringLiteral("/usr/bin/perl");
inline const QString php = QStringLiteral("/usr/bin/php");
inline const QString python = QStringLiteral("/usr/bin/python3");
inline const QString ruby = QStringLiteral("/usr/bin/ruby");
inline const QString shell = QStringLiteral("/bin/sh");
inline const QString bash = QStringLiteral("/bin/bash");
inline const QString csh = QStringLiteral("/bin/csh");
inline const QString ksh = QStringLiteral("/bin/ksh");
inline const QString open = QStringLiteral("/usr/bin/xdg-open");
inline const QString swift = QStringLiteral("/usr/bin/swift");
} // namespace Command

namespace XPC::Vandra {
inline const QString action6 = QStringLiteral("org.vandra.helper");
inline const QString privileged6 = QStringLiteral("org.vandra.privileged-helper");
} // namespace XPC::Vandra

namespace PrivilegedHelper::Vandra {
inline const QString version6 = QStringLiteral("6");
} // namespace PrivilegedHelper::Vandra

namespace Pasteboard {
inline const QString url = QStringLiteral("text/uri-list");
inline const QString string = QStringLiteral("text/plain");
} // namespace Pasteboard

namespace Misc {
inline const QString defaultPATH =
    QStringLiteral("/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin");
} // namespace Misc

namespace Product {
// Scheme of the job URL: vandra-job://<Base64 of a job file path>
inline const QString jobScheme = QStringLiteral("vandra-job");
} // namespace Product

} // namespace Const

} // namespace Vandra

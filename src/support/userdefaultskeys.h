#pragma once

#include <QString>

namespace Vandra {

// One key per setting; the strings are stored in the settings file, so never change them.
namespace UserDefaultsKeys {

// The text views' own settings, registered before the program's.
inline const QString editorFontFamily = QStringLiteral("editorFontFamily");
inline const QString editorFontSize = QStringLiteral("editorFontSize");
inline const QString editorTabWidth = QStringLiteral("editorTabWidth");
inline const QString editorWrapsLines = QStringLiteral("editorWrapsLines");

inline const QString showSystemJobs = QStringLiteral("showSystemJobs");
inline const QString showInternalHelpers = QStringLiteral("showInternalHelpers");
inline const QString automaticHelp = QStringLiteral("automaticHelp");
inline const QString automaticPATH = QStringLiteral("automaticPATH");
inline const QString runAgent = QStringLiteral("runAgent");
inline const QString numberOfSavedRevisions = QStringLiteral("numberOfSavedRevisions");
inline const QString selectedMode = QStringLiteral("selectedMode");
inline const QString exceptions = QStringLiteral("exceptions");
inline const QString preferFullScreen = QStringLiteral("preferFullScreen");
inline const QString preferencesTab = QStringLiteral("preferencesTab");
inline const QString resume = QStringLiteral("resume");
inline const QString hasManuallyChangedTheme = QStringLiteral("hasManuallyChangedTheme");
inline const QString logLength = QStringLiteral("logLength");
inline const QString logPeriod = QStringLiteral("logPeriod");
inline const QString firstMajorVersionLaunch = QStringLiteral("firstMajorVersionLaunch");
inline const QString editSystemJobs = QStringLiteral("editSystemJobs");
inline const QString automaticallyCheckForUpdate = QStringLiteral("automaticallyCheckForUpdate");

// Read and written, with no registered default.
inline const QString currentTheme = QStringLiteral("currentTheme");
inline const QString themes = QStringLiteral("themes");
inline const QString showLineNumbers = QStringLiteral("showLineNumbers");
inline const QString folders = QStringLiteral("folders");
inline const QString suppressAlertComplexRun = QStringLiteral("suppressAlertComplexRun");

// Window and view state.
inline const QString hiddenListColumns = QStringLiteral("hiddenListColumns");
inline const QString expandedTreeSections = QStringLiteral("expandedTreeSections");

} // namespace UserDefaultsKeys

} // namespace Vandra

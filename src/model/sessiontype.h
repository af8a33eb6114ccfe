#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// The session types launchd knows; a position in allCases() is the editor's menu tag.
enum class SessionType { aqua = 0, background, loginWindow, standardIO, system };

namespace SessionTypes {

[[nodiscard]] const QList<SessionType> &allCases();
[[nodiscard]] QString rawValue(SessionType type);
// Exact and case-sensitive; any other text gives none.
[[nodiscard]] std::optional<SessionType> fromRaw(const QString &text);
[[nodiscard]] std::optional<SessionType> fromIndex(qint64 index);

} // namespace SessionTypes

} // namespace Vandra

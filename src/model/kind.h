#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// The nine kinds of item, in the order of the sections on screen.
enum class Kind {
    userAgent = 0,
    localAgent,
    localDaemon,
    loginItemSystemPreferences,
    loginItemApplication,
    localStartupItem,
    systemAgent,
    systemDaemon,
    systemStartupItem,
};

namespace Kinds {

[[nodiscard]] const QList<Kind> &allCases();
[[nodiscard]] std::optional<Kind> fromRaw(qint64 raw);
[[nodiscard]] inline int rawValue(Kind kind) {
    return int(kind);
}
// The case name ("userAgent"), as the command line and JSON use it.
[[nodiscard]] QString name(Kind kind);
[[nodiscard]] std::optional<Kind> fromName(const QString &name);

// The kind's folder under the locations, or none for login items.
[[nodiscard]] std::optional<QString> url(Kind kind);
[[nodiscard]] QString title(Kind kind);
// The icon's identity: a freedesktop icon name or a file path.
[[nodiscard]] QString icon(Kind kind);

// The fixed lists. Those that depend on the editSystemJobs setting take it the first time
// they are used and keep it for the life of the process.
[[nodiscard]] const QList<Kind> &nonSystemKinds();
[[nodiscard]] const QList<Kind> &editableKinds();
[[nodiscard]] const QList<Kind> &lockedKinds();
[[nodiscard]] const QList<Kind> &deletableKinds();
[[nodiscard]] const QList<Kind> &nonPlistKinds();
[[nodiscard]] const QList<Kind> &folderKinds();

[[nodiscard]] bool isEditable(std::optional<Kind> kind);
// A job with no kind is deletable.
[[nodiscard]] bool isDeletable(std::optional<Kind> kind);
[[nodiscard]] bool isNonPlist(std::optional<Kind> kind);
[[nodiscard]] bool isLocked(std::optional<Kind> kind);

// Forgets the lists taken from the settings, as a new process would; for tests.
void resetForTesting();

} // namespace Kinds

} // namespace Vandra

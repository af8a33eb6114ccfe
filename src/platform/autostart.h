#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// One login item of the session: an XDG autostart entry.
struct AutostartEntry {
    QString fileName; // "nm-applet.desktop"; the same name in the user's folder overrides
    QString file;     // the entry's own file
    QString name;     // Name
    QString program;  // the program of Exec, or TryExec without an Exec; may be empty
    bool isHidden = false;
    // X-GNOME-Autostart-enabled=false: GNOME's session settings switch an entry off so.
    bool isSwitchedOff = false;

    [[nodiscard]] bool startsAtLogin() const { return !isHidden && !isSwitchedOff; }
};

// The session's login items are the XDG autostart entries of the user
// (~/.config/autostart) and of the machine (/etc/xdg/autostart), both under the locations.
namespace Autostart {

// The entries that start at login, ordered by file name: a user entry replaces the
// machine's entry of the same file name, and an entry saying Hidden=true, or switched off
// in GNOME's way, starts nothing.
[[nodiscard]] QList<AutostartEntry> loginItems();
// Reads one entry; an unreadable file or one without a [Desktop Entry] group gives none.
[[nodiscard]] std::optional<AutostartEntry> readEntry(const QString &file);

// The login-item service: starts the program at login under the identifier (the entry
// identifier.desktop in the user's folder, named name), or stops it from starting: the
// user's entry is removed, and a machine's entry of that identifier is hidden.
bool setLoginItemEnabled(const QString &identifier, bool enabled, const QString &name,
                         const QString &program);
// Whether the user's entry of identifier starts at login.
[[nodiscard]] bool isLoginItemEnabled(const QString &identifier);
// The user's entry of identifier, if there is one.
[[nodiscard]] std::optional<AutostartEntry> userEntry(const QString &identifier);
// Removes the user's entry of identifier, leaving a machine's entry alone. True when none
// is left.
bool removeUserEntry(const QString &identifier);

// Deletes the first login item of that name: removes the user's entry, and hides the
// machine's entry of the same file name. False when no item has that name or a file
// cannot be changed.
bool deleteLoginItem(const QString &name);

} // namespace Autostart

} // namespace Vandra

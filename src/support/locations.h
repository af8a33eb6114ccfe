#pragma once

#include <QString>

namespace Vandra {

// Every place the program reads or writes, made once per process.
//
// A root R (the option --root R of every executable, or VANDRA_ROOT) prefixes every
// location the way a chroot would, and the home folder becomes R/home. Without a root the
// usual XDG locations apply.
class Locations final {
public:
    // Sets the root for the process; an empty root (or "/") means the real machine. Meant
    // for start-up, before the first use of shared(); tests may call it again to switch
    // roots, and shared() then reflects the last call (references to it stay valid).
    // Without a call, the first shared() takes the root from the application's arguments.
    static void initialize(const QString &root);
    // Looks for "--root R" or "--root=R" in args, then VANDRA_ROOT.
    [[nodiscard]] static QString rootFromArguments(const QStringList &args);
    static const Locations &shared();

    [[nodiscard]] QString root() const { return m_root; }
    [[nodiscard]] QString home() const { return m_home; }

    // The three libraries; each holds LaunchAgents, LaunchDaemons and StartupItems.
    [[nodiscard]] QString userLibrary() const;
    [[nodiscard]] QString localLibrary() const;
    [[nodiscard]] QString systemLibrary() const;
    [[nodiscard]] QString applications() const;
    [[nodiscard]] QString iconResources() const;
    // Revisions, notes and exceptions.
    [[nodiscard]] QString appSupport() const;
    [[nodiscard]] QString settingsFile() const;
    [[nodiscard]] QString userAutostart() const;
    [[nodiscard]] QString systemAutostart() const;
    // Sockets and state of the helpers.
    [[nodiscard]] QString runtimeDir() const;
    [[nodiscard]] QString helperSocket() const;
    // Loaded-state records of the Linux load backend.
    [[nodiscard]] QString stateDir() const;
    // The one folder where temporary test jobs and their output live.
    [[nodiscard]] QString testJobsDir() const;
    // The temporary folder: the system's, or R/tmp under a root.
    [[nodiscard]] QString temporaryFolder() const;
    // A fresh, not yet existing file location in the temporary folder, which is created
    // when missing. A suffix without a leading dot gets one ("plist" gives ".plist").
    [[nodiscard]] QString temporaryFile(const QString &suffix = QString()) const;

    // Prefixes an absolute machine path with the root.
    [[nodiscard]] QString underRoot(const QString &machinePath) const;

private:
    explicit Locations(const QString &root);

    QString m_root;
    QString m_home;
    QString m_configHome;
    QString m_dataHome;
    QString m_runtime;
};

} // namespace Vandra

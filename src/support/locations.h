#pragma once

#include <QString>

// Every place the program reads or writes, made once per process.
//
// A root R (the option --root R of every executable, or VANDRA_ROOT) prefixes every
// location the way a chroot would, and the home folder becomes R/home. Without a root the
// usual XDG locations apply.
class Locations final
{
public:
    // Sets the root for the process; call before the first use of shared(). An empty root
    // means the real machine.
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
    // A fresh, not yet existing temporary file location.
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

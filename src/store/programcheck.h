#pragma once

#include "platform/plistvalue.h"
#include "store/finding.h"
#include "store/systemusers.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <sys/types.h>

namespace Vandra {

// The job doctor's look at what a job runs: that there is a program, that launchd finds
// it, that it can be executed, and that no path waits for an expansion launchd never does.
class ProgramCheck final {
public:
    // runner is the account the job runs as; none when it names nobody.
    ProgramCheck(const PlistDict &plist, const std::optional<UserAccount> &runner,
                 Findings &findings);

    void run();
    // The program's file name ("tool"), once run() found one.
    [[nodiscard]] const QString &programName() const { return m_programName; }

    // Whether user may use the file or folder at path (on this machine) as bits says:
    // S_IWOTH to write, S_IXOTH to execute, judged by its owner, group and mode.
    [[nodiscard]] static bool mayUse(const QString &path, const UserAccount &user, mode_t bits);
    // launchd's search path for a program given by its name alone.
    static const QString launchdPath;

private:
    void examineProgram(const QString &program);
    void examineArguments();
    void examinePathKeys();
    // The machine path of a bare command on the job's search path; reports it when it is
    // not there. Empty when reported.
    [[nodiscard]] QString lookUp(const QString &name);
    void examineFile(const QString &path);
    // A path with ~ or $VAR, which launchd passes on as written: the path with them
    // expanded for the job's user, or none when that cannot be told.
    [[nodiscard]] std::optional<QString> expanded(const QString &path) const;
    [[nodiscard]] static bool needsExpansion(const QString &path);
    [[nodiscard]] bool isShell() const;
    [[nodiscard]] QString programKey() const;
    [[nodiscard]] Fix runWith(const QStringList &interpreter, const QString &path) const;
    [[nodiscard]] Fix replaceProgram(const QString &title, const QString &path) const;
    void add(Finding::Severity severity, const QString &key, const QString &explanation,
             std::optional<Fix> fix = std::nullopt);

    const PlistDict &m_plist;
    const std::optional<UserAccount> &m_runner;
    Findings &m_findings;
    QStringList m_arguments;
    QString m_program;
    QString m_programName;
};

} // namespace Vandra

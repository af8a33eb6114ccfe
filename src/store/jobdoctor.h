#pragma once

#include "model/job.h"
#include "model/kind.h"
#include "model/rulerow.h"
#include "platform/plistvalue.h"
#include "store/finding.h"
#include "store/systemusers.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

namespace Vandra {

class JobStateSource;

// Examines one job and says why it may not run as meant: the file, the program, the
// schedule, the run and, where a load backend knows it, the job's state. Paths are looked
// up under the locations' root, so a job is judged on the machine it belongs to.
class JobDoctor final {
    Q_DECLARE_TR_FUNCTIONS(JobDoctor)

public:
    // state may be null: the state checks then find nothing.
    explicit JobDoctor(const JobStateSource *state = nullptr);

    // The owner a daemon's file must have; root (or the root folder's owner) by default.
    void setRootOwner(uint uid) { m_rootOwner = uid; }

    // A job file as it is stored, including a file that is no job at all.
    [[nodiscard]] Findings examineFile(const QString &path, Kind kind) const;
    // A job as a save would write it, with its file's owner and mode when it has a file.
    [[nodiscard]] Findings examineJob(Job &job, const RuleRows *ruleRows) const;
    // A job dictionary; path, when given, is the file it comes from.
    [[nodiscard]] Findings examinePlist(const PlistDict &plist, const std::optional<QString> &path,
                                        Kind kind) const;

    // Applies fix to the dictionary the job would be saved as and makes the job that
    // dictionary, as an edit of the job that the next save writes. Whoever shows the job
    // shows it again afterwards, the schedule's rule editor included. False when the
    // result is no job.
    static bool applyFix(Job &job, const Fix &fix, const RuleRows *ruleRows);

    // The gravest severity among findings; none when there are none.
    [[nodiscard]] static std::optional<Finding::Severity> worst(const Findings &findings);
    // "error", "warning" or "note".
    [[nodiscard]] static QString severityName(Finding::Severity severity);

private:
    void examineOwnership(const QString &path, Kind kind, Findings &findings) const;

    const JobStateSource *m_state;
    SystemUsers m_users;
    uint m_rootOwner;
};

} // namespace Vandra

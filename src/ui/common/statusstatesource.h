#pragma once

#include "store/jobstate.h"

namespace Vandra {

class JobStatusSource;

// The state of jobs for the job doctor, from the live status the helper service reports.
// Only jobs the service names are answered for: the service does not see the jobs the
// privileged helper loads, so a job it does not name may well be loaded elsewhere.
class StatusStateSource final : public JobStateSource {
public:
    explicit StatusStateSource(const JobStatusSource &status)
        : m_status(status) {}

    [[nodiscard]] std::optional<JobState> stateOf(const QString &label) const override;

private:
    const JobStatusSource &m_status;
};

} // namespace Vandra

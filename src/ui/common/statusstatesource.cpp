#include "ui/common/statusstatesource.h"

#include "actions/jobstatussource.h"

namespace Vandra {

std::optional<JobState> StatusStateSource::stateOf(const QString &label) const {
    const auto found = m_status.statuses().constFind(label);
    if (found == m_status.statuses().cend())
        return std::nullopt;
    JobState state;
    state.isLoaded = found->isLoaded;
    state.lastExitStatus = found->lastExitStatus;
    return state;
}

} // namespace Vandra

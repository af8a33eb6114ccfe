#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// What the service manager knows of a job right now.
struct JobState {
    bool isLoaded = false;
    std::optional<int> lastExitStatus;
    // How long the last run lasted, when known.
    std::optional<qint64> lastRunMilliseconds;
    // The last lines of the job's log, oldest first.
    QStringList logTail;
};

// Where the job doctor learns the state of jobs: filled by the load backend that knows it.
class JobStateSource {
public:
    virtual ~JobStateSource() = default;
    // None when the backend knows nothing of the label.
    [[nodiscard]] virtual std::optional<JobState> stateOf(const QString &label) const = 0;
};

} // namespace Vandra

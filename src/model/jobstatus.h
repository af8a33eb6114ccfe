#pragma once

#include "platform/plistvalue.h"

#include <QDateTime>

#include <optional>

namespace Vandra {

// What the service manager says about a loaded job: whether it is loaded and running, its
// main process, how its last run ended and when it starts next. A field that is none is not
// known (the manager did not say, or nothing records it).
struct JobStatus {
    bool isLoaded = false;
    bool isRunning = false;
    std::optional<qint64> pid;
    std::optional<int> lastExitStatus;
    std::optional<QDateTime> lastExitTime;
    std::optional<QDateTime> nextRun;

    friend bool operator==(const JobStatus &, const JobStatus &) = default;

    // The dictionary a helper replies with; a field that is none is absent.
    [[nodiscard]] PlistDict toDict() const;
    // A reply's dictionary; mistyped fields count as absent.
    [[nodiscard]] static JobStatus fromDict(const PlistDict &dict);
};

} // namespace Vandra

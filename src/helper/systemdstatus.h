#pragma once

#include <QDateTime>

#include <optional>

// What systemd says about a job's units: whether they are loaded and running, the main
// process, how the last run ended and when the timer starts the job next.
struct SystemdStatus {
    bool isLoaded = false;
    bool isRunning = false;
    std::optional<qint64> pid;
    std::optional<int> lastExitStatus;
    std::optional<QDateTime> lastExitTime;
    std::optional<QDateTime> nextRun;

    friend bool operator==(const SystemdStatus &, const SystemdStatus &) = default;
};

#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace Vandra {

enum class TimelineKind {
    group = 0,    // a heading: a day, or the block of jobs that repeat at an interval
    time = 1,     // one start of a job
    interval = 2, // a job that runs every so many seconds
};

// One row of the timeline of upcoming runs.
struct Timeline {
    TimelineKind kind = TimelineKind::group;
    QDateTime date;
    QString name;
    bool isEnabled = true;
    std::optional<QString> url;
    std::optional<QString> groupString;

    friend bool operator==(const Timeline &, const Timeline &) = default;
};

} // namespace Vandra

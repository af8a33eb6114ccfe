#pragma once

#include <Qt>

namespace Vandra {

// The custom item roles of every model of the window.
namespace Roles {

enum : int {
    // The Job of a row (JobPtr in a QVariant), absent on section and heading rows.
    Job = Qt::UserRole + 1,
    // The Kind raw value of a section row.
    SectionKind,
    // The number of jobs of a section row.
    Count,
    // True for a section or heading row, false for a job's row.
    IsGroup,
    // The key a sorting proxy compares.
    Sort,
    // Whether the row's job is enabled (disabled ones are drawn in the secondary colour).
    IsEnabled,
    // The job file a row stands for.
    Url,
    // The TimelineKind raw value of a timeline row.
    TimelineKind,
    // The worst severity (Finding::Severity as int) of the job doctor's findings on the row's
    // job; absent while unknown and when there are none.
    Severity,
    // The JobStatusText::Mark of a job's row: whether it is loaded or running.
    StatusMark,
};

} // namespace Roles

} // namespace Vandra

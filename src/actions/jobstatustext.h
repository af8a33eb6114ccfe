#pragma once

#include "model/jobstatus.h"

#include <QString>

#include <optional>

namespace Vandra {

// How a job's live status reads in the window: a word for the list's column and the marks of
// grid and tree, and a line for the detail editor. A status that is not known reads as
// nothing, never as "not loaded".
namespace JobStatusText {

enum class Mark { none, loaded, running };

[[nodiscard]] Mark mark(const std::optional<JobStatus> &status);
// "Running", "Loaded", "Not loaded", or empty when not known.
[[nodiscard]] QString brief(const std::optional<JobStatus> &status);
// Everything known: state, process, last exit and next run.
[[nodiscard]] QString line(const std::optional<JobStatus> &status);

} // namespace JobStatusText

} // namespace Vandra

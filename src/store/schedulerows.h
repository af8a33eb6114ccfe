#pragma once

#include "model/job.h"
#include "model/rulerow.h"

namespace Vandra {

// The rule rows a job's schedule is written from: the rule editor's while it shows the job,
// else rows made from the job's own rules, so that a job written without a When view keeps
// its schedule.
namespace ScheduleRows {

[[nodiscard]] RuleRows forJob(const Job &job);

} // namespace ScheduleRows

} // namespace Vandra

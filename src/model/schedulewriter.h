#pragma once

#include "model/rulerow.h"
#include "platform/plistvalue.h"

namespace Vandra {

// Rebuilds StartInterval and StartCalendarInterval of plist from the rule editor's rows.
// With the schedule switched off, or rows nullptr (no rule editor shows the job), both keys
// are removed. Rows that cannot be read add nothing; only the first repeat interval counts.
void writeSchedule(const RuleRows *rows, bool isScheduledEnabled, PlistDict &plist);

} // namespace Vandra

#pragma once

#include "model/scheduled.h"
#include "platform/plistvalue.h"

#include <QList>

namespace Vandra {

// The schedule rules of a job dictionary, in display order: the StartInterval rule first,
// then the calendar rules, with weekday entries at a common time folded into the weekday
// and weekend groups. What a rule cannot express is normalised silently.
[[nodiscard]] QList<ScheduledType> readSchedule(const PlistDict &plist);

} // namespace Vandra

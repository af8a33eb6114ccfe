#pragma once

#include "platform/plistvalue.h"

#include <QStringList>

namespace Vandra {

// Whether the rule editor shows a job's schedule exactly. The rows cannot hold every
// StartInterval and StartCalendarInterval launchd accepts; such a schedule stays in the file
// as written until the user edits it, and then it is rebuilt from the rows.
namespace ScheduleExactness {

// One readable line for each schedule entry of plist that an edit of the schedule would
// change or drop, saying what it would become; empty when the rows show the schedule
// exactly. Entries that launchd reads alike either way (Weekday 7 and 0, one dictionary and
// an array of one) count as exact.
[[nodiscard]] QStringList inexactEntries(const PlistDict &plist);

} // namespace ScheduleExactness

} // namespace Vandra

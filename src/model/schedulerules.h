#pragma once

#include "model/scheduled.h"
#include "platform/plistvalue.h"

#include <QList>
#include <QString>

namespace Vandra {

// The arithmetic shared by the schedule reader, the writer and the timeline.
namespace Scheduled {

// The rule of a StartInterval of seconds, in the largest unit that divides it.
[[nodiscard]] RepeatInterval repeatIntervalFromSeconds(qint64 seconds);
// The unit whose lower-case title is text; any other text means seconds.
[[nodiscard]] RepeatInterval::Unit unitNamed(const QString &text);
// The lower-case title of a unit, as the rule editor shows it.
[[nodiscard]] QString unitTitle(RepeatInterval::Unit unit);
// interval units in seconds, never below 10 (launchd's shortest useful interval); a product
// beyond the 64-bit range saturates.
[[nodiscard]] qint64 secondsForInterval(qint64 interval, RepeatInterval::Unit unit);

// The entry dictionaries under StartCalendarInterval: one dictionary, or the dictionaries of
// an array. Any other value gives none.
[[nodiscard]] QList<PlistDict> calendarEntries(const PlistDict &plist);
// An entry's Hour (0-23) and Minute (0-59); anything else, or a missing key, is 0.
[[nodiscard]] qint64 entryHour(const PlistDict &entry);
[[nodiscard]] qint64 entryMinute(const PlistDict &entry);

// The weekend days of the user's locale (launchd numbering, 0 = Sunday, ascending) and the
// other days of the week. Computed once per process; Saturday and Sunday where the locale
// says nothing.
[[nodiscard]] const QList<qint64> &weekendIndexSet();
[[nodiscard]] const QList<qint64> &weekdayIndexSet();
// Forgets both sets so that the next use reads the locale again; for tests.
void resetWeekSetsForTesting();

} // namespace Scheduled

} // namespace Vandra

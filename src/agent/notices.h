#pragma once

#include "agent/jobchange.h"
#include "agent/notice.h"

#include <QList>

namespace Vandra {

// The texts of the agent's notifications.
namespace Notices {

// Past this many changes at once, one notification sums them up.
inline constexpr qsizetype batchLimit = 3;

// How a notification names a kind: "user agent", "system daemon"...
[[nodiscard]] QString kindText(Kind kind);
[[nodiscard]] Notice forChange(const JobChange &change);
// One notification for many changes, listing the first of them.
[[nodiscard]] Notice forBatch(const QList<JobChange> &changes);

} // namespace Notices

} // namespace Vandra

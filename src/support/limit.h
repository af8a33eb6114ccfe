#pragma once

#include <QString>

#include <functional>

class QObject;

namespace Vandra {

// Rate limits for work that bursts of events trigger, such as folder changes.
namespace Limit {

// Lets at most one piece of work through per interval of the given seconds for an
// identifier. A call after a quiet interval runs its work at once; calls within the
// interval that follows a pass are merged into one pass at the interval's end, which runs
// the work of the last of them. So every burst leads to at least one pass after its last
// call. Work runs on the thread of context and is dropped when context is destroyed first.
// Call from the thread of context (the main thread).
void interval(const QString &identifier, double seconds, const QObject *context,
              std::function<void()> work);

} // namespace Limit

} // namespace Vandra

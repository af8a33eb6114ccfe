#include "support/limit.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace Vandra {

namespace Limit {

namespace {

using Clock = std::chrono::steady_clock;

struct Gate {
    Clock::time_point lastPass;
    bool hasPassed = false;
    // The trailing pass waiting for the end of the interval, if any.
    bool isPending = false;
    QPointer<const QObject> timerContext;
    QPointer<const QObject> pendingContext;
    std::function<void()> pendingWork;
};

QHash<QString, Gate> &gates() {
    static QHash<QString, Gate> gates;
    return gates;
}

void pass(Gate &gate, std::function<void()> work) {
    gate.lastPass = Clock::now();
    gate.hasPassed = true;
    // Work may call interval() again for the same identifier, so the gate is settled first.
    work();
}

void runPending(const QString &identifier) {
    auto found = gates().find(identifier);
    if (found == gates().end() || !found->isPending)
        return;
    found->isPending = false;
    std::function<void()> work = std::move(found->pendingWork);
    found->pendingWork = nullptr;
    if (found->pendingContext && work)
        pass(*found, std::move(work));
}

} // namespace

void interval(const QString &identifier, double seconds, const QObject *context,
              std::function<void()> work) {
    if (context == nullptr || !work)
        return;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::isfinite(seconds) && seconds > 0 ? seconds : 0));
    Gate &gate = gates()[identifier];
    // A pending pass whose timer went with its context never fires; forget it.
    if (gate.isPending && !gate.timerContext) {
        gate.isPending = false;
        gate.pendingWork = nullptr;
    }
    const Clock::time_point now = Clock::now();
    if (!gate.isPending && (!gate.hasPassed || now - gate.lastPass >= period)) {
        pass(gate, std::move(work));
        return;
    }
    gate.pendingContext = context;
    gate.pendingWork = std::move(work);
    if (gate.isPending)
        return;
    gate.isPending = true;
    gate.timerContext = context;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(gate.lastPass + period - now);
    QTimer::singleShot(std::max(wait, std::chrono::milliseconds(0)), context,
                       [identifier] { runPending(identifier); });
}

} // namespace Limit

} // namespace Vandra

#include "support/delay.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cmath>

namespace Vandra {

namespace Delay {

void after(double seconds, const QObject *context, std::function<void()> work) {
    if (context == nullptr || !work)
        return;
    const auto interval = std::chrono::milliseconds(
        std::isfinite(seconds) && seconds > 0 ? std::llround(seconds * 1000.0) : 0);
    // The timer is started on the context's own thread, whose event loop runs it.
    auto start = [interval, context, work = std::move(work)]() mutable {
        QTimer::singleShot(interval, context, std::move(work));
    };
    if (context->thread() == QThread::currentThread())
        start();
    else
        QMetaObject::invokeMethod(const_cast<QObject *>(context), std::move(start),
                                  Qt::QueuedConnection);
}

} // namespace Delay

} // namespace Vandra

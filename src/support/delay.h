#pragma once

#include <functional>

class QObject;

namespace Vandra {

// Short one-shot delays of the program (the reload after a folder change, opening a job
// named by a job URL). For a delay that may be cancelled, keep a QTimer instead.
namespace Delay {

// Runs work once, on the thread of context (the main thread for the program's objects),
// after the given seconds; nothing runs when context is destroyed first. May be called
// from any thread.
void after(double seconds, const QObject *context, std::function<void()> work);

} // namespace Delay

} // namespace Vandra

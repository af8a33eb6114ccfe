#pragma once

#include "support/sharedinstance.h"

#include <QObject>

namespace Vandra {

// The process-wide notification centre. Whoever changes the shared state emits the signal
// (Q_EMIT Notifications::shared().jobsUpdated()); views and documents listen.
class Notifications final : public QObject, public SharedInstance<Notifications> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Notifications)

public:
    Notifications() = default;

Q_SIGNALS:
    // The shared job list was rebuilt.
    void jobsUpdated();
    // The colour theme of the text views changed.
    void themeChanged();
    // The status of the program changed, such as its agent being switched on or off.
    void appStatusChanged();
};

} // namespace Vandra

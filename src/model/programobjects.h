#pragma once

#include "model/bindings.h"
#include "model/joblist.h"
#include "support/defaults.h"
#include "support/notifications.h"

namespace Vandra {

// The shared objects of a program: made in one place at start-up, after the application
// object and the locations, in the order they depend on one another, and ended in the reverse
// order before the application object. While it lives, each is its kind's shared().
class ProgramObjects final {
    Q_DISABLE_COPY_MOVE(ProgramObjects)

public:
    ProgramObjects();
    ~ProgramObjects();

private:
    Notifications m_notifications;
    Defaults m_defaults;
    Bindings m_bindings;
    JobList m_jobs;
};

} // namespace Vandra

#pragma once

#include <QString>

namespace Vandra {

// One desktop notification as the agent shows it.
struct Notice {
    QString summary;
    QString body;
    // The job file that the "Show" button opens; empty when there is nothing to open.
    QString jobPath;
};

} // namespace Vandra

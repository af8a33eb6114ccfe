#pragma once

#include "actions/jobstatussource.h"
#include "ui/common/jobhealth.h"
#include "ui/common/programicons.h"
#include "ui/common/viewservices.h"

namespace Vandra {

// What a test's views of jobs use, made for the test as the application's controller makes
// it for the window: a status source that reaches no helper and knows only the answers a test
// hands it, the doctor's badges over it, and the icon cache. It outlives the views made with it.
struct ViewParts {
    ViewParts()
        : status(ActionController::Setup{})
        , health(status)
        , services{status, health, icons} {}

    JobStatusSource status;
    JobHealth health;
    ProgramIcons icons;
    ViewServices services;
};

} // namespace Vandra

#pragma once

#include "model/jobstatus.h"

namespace Vandra {

// What systemd says about a job's units is a job's live status.
using SystemdStatus = JobStatus;

} // namespace Vandra

#pragma once

#include "model/job.h"

class QMimeData;

namespace Vandra {

// Dragging a job out of the window hands its file to whatever takes the drop: a file
// manager, a terminal, an editor. Login items have no job file of their own and stay put.
namespace JobDrag {

[[nodiscard]] bool canDrag(const JobPtr &job);
// The job's file as a URL list; nullptr when the job cannot be dragged. The caller owns it.
[[nodiscard]] QMimeData *mimeData(const JobPtr &job);

} // namespace JobDrag

} // namespace Vandra

#pragma once

#include "model/job.h"

namespace Vandra {

// When the window's commands may be used, worked out from the state they depend on: whether
// a sheet is open on the window, whether the current job has unsaved edits or is being
// saved, and the current job with its kind.
namespace CommandAvailability {

struct State {
    bool hasSheet = false;
    bool isEdited = false;
    bool isSaving = false;
    JobPtr job;
};

// The File menu's commands. `always` stands for every command without a rule of its own.
enum class Command {
    reveal,
    info,
    newJob,
    newScript,
    refresh,
    importJob,
    editPlist,
    share,
    save,
    duplicate,
    exportJob,
    deleteJob,
    test,
    log,
    always,
};

// The toolbar's items.
enum class Item { newJob, info, log, share, edit, filter, mode };

// Nothing in the File menu is available while a sheet is open.
[[nodiscard]] bool isAvailable(Command command, const State &state);
[[nodiscard]] bool isEnabled(Item item, const State &state);
// Delete in a job's context menu: as the File menu's Delete would be for that job, and never
// in the timeline, whose rows are runs rather than jobs.
[[nodiscard]] bool offersDelete(const JobPtr &job, bool isEdited, bool isTimeline);
// Open in a job's context menu: an application that starts at login.
[[nodiscard]] bool offersOpen(const JobPtr &job);

} // namespace CommandAvailability

} // namespace Vandra

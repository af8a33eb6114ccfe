#pragma once

// The alert that guards unsaved edits when the user leaves the current job or quits, and
// what its Discard button does.
namespace UnsavedChanges {

// Shows the alert through the interaction of the process; true when the user chose to
// discard the edits.
[[nodiscard]] bool askToDiscard();
// Drops the current job's edits: no job is current, the editor's saving state ends, and the
// job list is read again, so the job shows as stored.
void discard();

} // namespace UnsavedChanges

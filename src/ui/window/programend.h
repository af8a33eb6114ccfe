#pragma once

#include <chrono>

namespace Vandra {

class ActionController;
class JobList;
class NotesStore;

// The end of the program once its event loop has returned. What the user asked to keep is
// written, the window goes as usual (a test it runs removes its job, the clipboard is handed
// over), and then the process ends without freeing the job list and the caches one block at a
// time, which at thousands of jobs takes long and leaves nothing that the system would not
// take back at once. Sanitizer builds end normally, so that their leak check sees everything.
namespace ProgramEnd {

// Writes what has not reached its file or helper yet: the notes still waiting for their save
// delay, and the requests to the helpers that have not been answered yet, waiting for their
// answers for a few seconds at most, and the window's own settings still waiting to be
// written (Defaults::setValueSoon).
void writePending(NotesStore &notes, ActionController &actions,
                  std::chrono::milliseconds wait = std::chrono::seconds(5));
// Takes the records out of the job list so that they are not freed one by one when the
// program's shared objects end; the end of the process takes their memory back at once.
// Sanitizer builds free them after main returns.
void keepJobs(JobList &jobs);
// Ends the process with code, after flushing standard output and error; in sanitizer builds
// it returns code, for main to return.
int end(int code);

} // namespace ProgramEnd

} // namespace Vandra

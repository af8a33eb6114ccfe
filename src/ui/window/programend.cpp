#include "ui/window/programend.h"

#include "actions/actioncontroller.h"
#include "model/joblist.h"
#include "store/notesstore.h"
#include "support/defaults.h"

#include <QDeadlineTimer>

#include <cstdio>
#include <cstdlib>

namespace Vandra {

namespace ProgramEnd {

void writePending(NotesStore &notes, ActionController &actions, std::chrono::milliseconds wait) {
    notes.flush();
    Defaults::shared().flush();
    // A request sent in the loop's last turns is still in its socket's buffer, waits for a
    // helper that is starting, or is being carried out; the helper would drop it as soon as
    // the program goes.
    const QDeadlineTimer deadline(wait);
    for (HelperConnection *connection : {actions.connection(), actions.privilegedConnection()}) {
        if (connection && !connection->finishOutstanding(deadline))
            qWarning("vandra: a request to %s was not finished before the end",
                     qPrintable(connection->socketPath()));
    }
}

void keepJobs(JobList &jobs) {
    // end() skips the destructors of statics.
    static QList<JobPtr> kept;
    kept = jobs.takeJobs();
}

int end(int code) {
#if defined(__SANITIZE_ADDRESS__)
    return code;
#else
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
#endif
}

} // namespace ProgramEnd

} // namespace Vandra

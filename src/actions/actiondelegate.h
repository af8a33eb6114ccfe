#pragma once

#include "actions/logentry.h"

#include <QList>
#include <QString>

namespace Vandra {

// What the controller asks of the editor, the job list and the open test and log views when a
// reply or a failure comes back. The store and the windows implement it; tests script it.
class ActionDelegate {
public:
    virtual ~ActionDelegate() = default;

    // Whether the detail editor exists; replies of saves and removals act on it.
    [[nodiscard]] virtual bool hasDetailEditor() const = 0;
    // The editor leaves its saving state: the progress is hidden, the window no longer shows
    // unsaved changes, and the editor is neither edited nor locked.
    virtual void endSaving() = 0;
    // Rebuilds the job list unless an edit is pending, selecting the same file again.
    virtual void reloadJobs() = 0;
    // After a removal: no job selected, the window title and the editor's fields reset.
    virtual void clearSelectedJob() = 0;
    // The output of a test run, for the open test view if there is one.
    virtual void showTestOutput(const QString &output) = 0;
    // Log lines found, for the open log viewer if there is one.
    virtual void showLogEntries(const QList<LogEntry> &entries) = 0;
    // The open log viewer, if any, forgets its request, empties its lines and comes to rest.
    virtual void resetLogViewer() = 0;
};

} // namespace Vandra

#pragma once

#include "model/job.h"
#include "model/kind.h"

#include <QList>

// Builds the one list of every item the program shows: the jobs of the launchd folders,
// the startup items, the session's login items and the login items inside applications.
namespace JobDiscovery {

// The kinds searched, in order: the non-system kinds, or all nine.
[[nodiscard]] const QList<Kind> &kindsToDiscover(bool showSystemJobs);

// A fresh list, grouped by kind in the order of the kinds searched (the showSystemJobs
// setting decides which) and sorted by label within each kind. The list is not stored.
[[nodiscard]] QList<JobPtr> discoverJobs();
[[nodiscard]] QList<JobPtr> discoverJobs(bool showSystemJobs);

// The records of one kind, in the order found (not sorted).
[[nodiscard]] QList<JobPtr> jobsOfKind(Kind kind);
// Every entry of a kind's folder; a folder that cannot be listed gives nothing.
[[nodiscard]] QList<JobPtr> folderJobs(Kind kind, const QString &folder);
// The session's login items.
[[nodiscard]] QList<JobPtr> loginItemJobs();
// The first login item inside each application of the applications folder, and of the
// folders directly in it.
[[nodiscard]] QList<JobPtr> applicationLoginItemJobs();

// Rebuilds the shared list unless the current job holds unsaved edits, then shows the job
// of the same file as the current job (or none when its file is gone) and announces the
// new list.
void reloadJobs();

} // namespace JobDiscovery

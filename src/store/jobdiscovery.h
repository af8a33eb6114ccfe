#pragma once

#include "model/job.h"
#include "model/kind.h"
#include "model/readoptions.h"

#include <QList>

namespace Vandra {

// What a discovery pass needs of the settings and locations, taken on the thread that asks
// for it, so that the pass itself may run on any thread.
struct DiscoveryOptions {
    bool showSystemJobs = false;
    ReadOptions reader;
    QString applications;
    // The records keep the dictionary they were read from and its text. A caller that needs
    // only the fields derived from it (a listing) sets this off, and each record lets its
    // dictionary go as soon as its file is read, so that the whole list never holds them.
    bool keepsDictionaries = true;

    // The options of this process as its settings stand now.
    [[nodiscard]] static DiscoveryOptions fromSettings();
    [[nodiscard]] static DiscoveryOptions fromSettings(bool showSystemJobs);
};

// Builds the one list of every item the program shows: the jobs of the launchd folders,
// the startup items, the session's login items and the login items inside applications.
namespace JobDiscovery {

// The kinds searched, in order: the non-system kinds, or all nine.
[[nodiscard]] const QList<Kind> &kindsToDiscover(bool showSystemJobs);

// A fresh list, grouped by kind in the order of the kinds searched (the showSystemJobs
// setting decides which) and sorted by label within each kind. The list is not stored.
[[nodiscard]] QList<JobPtr> discoverJobs();
[[nodiscard]] QList<JobPtr> discoverJobs(bool showSystemJobs);
// The same list, with the files read on up to threads threads at once: the folders are
// listed first, and the records merge in the order of that listing whatever the threads.
[[nodiscard]] QList<JobPtr> discoverJobs(const DiscoveryOptions &options, int threads);
// The number of threads a pass uses by default: the cores, at most four.
[[nodiscard]] int defaultThreadCount();

// Every entry of a kind's folder; a folder that cannot be listed gives nothing.
[[nodiscard]] QList<JobPtr> folderJobs(Kind kind, const QString &folder,
                                       const ReadOptions &options);
// The session's login items.
[[nodiscard]] QList<JobPtr> loginItemJobs(const ReadOptions &options);
// The first login item inside each application of the applications folder, and of the
// folders directly in it.
[[nodiscard]] QList<JobPtr> applicationLoginItemJobs(const QString &applications,
                                                     const ReadOptions &options);

// Rebuilds the shared list unless the current job holds unsaved edits, then shows the job
// of the same file as the current job (or none when its file is gone) and announces the
// new list. Runs on the calling thread.
void reloadJobs();
// The same, with the list built on a worker thread and swapped in on this thread when it
// is done, so the event loop goes on meanwhile. Requests that arrive while a pass runs are
// served by one more pass after it; a list older than one shown since is dropped.
void reloadJobsLater();
// A pass started by reloadJobsLater has not been shown yet.
[[nodiscard]] bool isReloading();

} // namespace JobDiscovery

} // namespace Vandra

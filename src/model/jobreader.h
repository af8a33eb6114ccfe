#pragma once

#include "model/job.h"
#include "model/readoptions.h"
#include "platform/plistvalue.h"

#include <QList>
#include <QLoggingCategory>
#include <QString>

#include <optional>

namespace Vandra {

Q_DECLARE_LOGGING_CATEGORY(lcJobReader)

// The Run text composed from Program and ProgramArguments, and the location whose icon
// stands for the program it starts.
struct RunComposition {
    QString run;
    std::optional<QString> iconLocation;
};

// What the keep-alive controls show for a dictionary.
struct KeepAliveState {
    bool keepAlive = false;
    bool successfulExit = false;
};

// Turns job folder entries into records. Reading never changes a file; an entry that
// cannot be used is logged and skipped. Reading touches nothing shared, so entries may be
// read on several threads at once; the options stand in for the settings. Without options,
// the settings of the process are read on the calling thread.
namespace JobReader {

// The record of one entry of a job folder of the given kind, or none.
[[nodiscard]] JobPtr readJob(Kind kind, const QString &location, const ReadOptions &options);
// The same for the entry name of the folder open as the descriptor folder, location being
// its path; buffer is reused from entry to entry (see PlistCodec::readFileAt).
[[nodiscard]] JobPtr readJobAt(Kind kind, int folder, const char *name, const QString &location,
                               const ReadOptions &options, QByteArray &buffer);
// Reads one entry of a job folder of the given kind and appends its record, if any.
void readJobFile(Kind kind, const QString &location, QList<JobPtr> &list,
                 const ReadOptions &options = ReadOptions::fromSettings());
// A record from a job dictionary, or none (no text Label, empty, hidden helper job).
[[nodiscard]] JobPtr jobFromPlist(const PlistDict &plist, const std::optional<QString> &location,
                                  std::optional<Kind> kind,
                                  const ReadOptions &options = ReadOptions::fromSettings());
// Derives the record's fields from its dictionary. The editor's flags follow the record
// when it becomes the current job.
void applyPlist(Job &job, const ReadOptions &options = ReadOptions::fromSettings());
[[nodiscard]] RunComposition composeRun(const PlistDict &plist,
                                        const ReadOptions &options = ReadOptions::fromSettings());
[[nodiscard]] QString summaryFromPlist(const PlistDict &plist);
// The dictionary as XML text; none (and a log line) when it cannot be written.
[[nodiscard]] std::optional<QString> plistText(const PlistDict &plist);
[[nodiscard]] JobPtr readStartupItem(const QString &folder, Kind kind);
// The arguments of ProgramArguments: a list of texts, or one text taken as a list of one.
[[nodiscard]] QStringList programArguments(const PlistDict &plist);
// KeepAlive (or the older OnDemand false) as the keep-alive box and the successful-exit box
// show it.
[[nodiscard]] KeepAliveState keepAliveState(const PlistDict &plist);

} // namespace JobReader

} // namespace Vandra

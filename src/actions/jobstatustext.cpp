#include "jobstatustext.h"

#include "platform/relativedateformatter.h"
#include "support/localize.h"

namespace Vandra {

namespace JobStatusText {

Mark mark(const std::optional<JobStatus> &status) {
    if (!status || !status->isLoaded)
        return Mark::none;
    return status->isRunning ? Mark::running : Mark::loaded;
}

QString brief(const std::optional<JobStatus> &status) {
    if (!status)
        return {};
    if (!status->isLoaded)
        return Localize::text("Not loaded");
    return status->isRunning ? Localize::text("Running") : Localize::text("Loaded");
}

QString line(const std::optional<JobStatus> &status) {
    if (!status)
        return {};
    QStringList parts{brief(status)};
    if (status->pid)
        parts.append(
            Localize::format(Localize::text("process %@"), {Localize::integer(*status->pid)}));
    if (status->lastExitStatus && status->lastExitTime)
        parts.append(Localize::format(Localize::text("last exit status %@ at %@"),
                                      {Localize::integer(*status->lastExitStatus),
                                       RelativeDateFormatter::format(*status->lastExitTime)}));
    if (status->nextRun)
        parts.append(Localize::format(Localize::text("next run %@"),
                                      {RelativeDateFormatter::format(*status->nextRun)}));
    return parts.join(QStringLiteral(", "));
}

} // namespace JobStatusText

} // namespace Vandra

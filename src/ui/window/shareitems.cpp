#include "ui/window/shareitems.h"

#include "model/jobwriter.h"
#include "store/schedulerows.h"

namespace Vandra {

ShareItems ShareItems::forJob(const JobPtr &job) {
    ShareItems items;
    if (!job || !job->kind)
        return items;
    if (Kinds::isLocked(job->kind)) {
        if (!job->run().isEmpty())
            items.runText = job->run();
        return items;
    }
    if (job->url && !job->url->isEmpty())
        items.file = job->url;
    if (job->plist) {
        const RuleRows rows = ScheduleRows::forJob(*job);
        items.xmlText = JobWriter::fileText(*job, &rows);
    }
    return items;
}

} // namespace Vandra

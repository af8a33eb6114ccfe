#include "store/schedulerows.h"

#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"

namespace Vandra {

namespace ScheduleRows {

RuleRows forJob(const Job &job) {
    if (const RuleEditorModel *editor = RuleEditorModel::attached(); editor && job.isCurrent())
        return editor->rows();
    RuleRows rows;
    if (!job.scheduled)
        return rows;
    for (const ScheduledType &rule : *job.scheduled) {
        if (std::optional<RuleRow> row = ScheduledHelper::shared().rowForRule(rule))
            rows.append(*row);
    }
    return rows;
}

} // namespace ScheduleRows

} // namespace Vandra

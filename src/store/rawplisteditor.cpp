#include "store/rawplisteditor.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "platform/plistcodec.h"
#include "store/schedulerows.h"
#include "support/interaction.h"
#include "support/localize.h"

namespace Vandra {

std::optional<QString> RawPlistEditor::load() {
    const JobPtr &job = JobList::shared().currentJob();
    if (!job)
        return std::nullopt;
    const RuleRows rows = ScheduleRows::forJob(*job);
    const auto text = JobWriter::fileText(*job, &rows);
    if (text)
        m_checkString = text;
    return text;
}

RawPlistEditor::Result RawPlistEditor::change(const QString &text) {
    const JobPtr current = JobList::shared().currentJob();
    if (!m_checkString || !current || text == *m_checkString)
        return Result::dismissed;
    const PlistReadResult read = PlistCodec::read(text.toUtf8());
    if (!read.ok()) {
        Interaction::error(Localize::text("The data couldn’t be read because it isn’t in the "
                                          "correct format."),
                           read.error);
        return Result::refused;
    }
    const PlistDict *dict = read.value->dict();
    const JobPtr job = dict && current->kind
                           ? JobReader::jobFromPlist(*dict, current->url, current->kind)
                           : JobPtr();
    if (!job) {
        Interaction::error(Localize::anUnknownErrorOccurred(), Localize::pleaseTryAgain());
        return Result::refused;
    }
    JobList::shared().setCurrentJob(job);
    // The editor's switches follow the new dictionary (a schedule added, a session type gone).
    Bindings::shared().update(job);
    JobList::shared().markChanged(Change::generic);
    return Result::changed;
}

} // namespace Vandra

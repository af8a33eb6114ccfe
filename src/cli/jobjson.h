#pragma once

#include "cli/jsonwriter.h"
#include "model/job.h"
#include "model/kind.h"

#include <QLatin1StringView>

namespace Vandra {

// A job as the command line prints it: its derived fields, a missing one as null.
namespace JobJson {

// Calls field(name, value) for each field of the record, in the order the record is printed
// (JSON and text alike). A value is a QString, a bool, or a std::optional of QString, bool,
// qint64, Kind or the list of schedule rules.
template <typename Field> void forEachField(Job &job, Field &&field) {
    using namespace Qt::Literals::StringLiterals;
    field("label"_L1, job.label);
    field("kind"_L1, job.kind);
    field("run"_L1, job.run());
    field("summary"_L1, job.summary);
    field("isEnabled"_L1, job.isEnabled());
    field("keepAlive"_L1, job.keepAlive());
    field("isKeepAliveSuccessfulExitSet"_L1, job.isKeepAliveSuccessfulExitSet());
    field("watchPath"_L1, job.watchPath());
    field("machServicesKey"_L1, job.machServicesKey());
    field("isMachServicesEnabled"_L1, job.isMachServicesEnabled);
    field("limitLoadToSessionTypeIndex"_L1, job.limitLoadToSessionTypeIndex());
    field("isLimitLoadToSessionTypeEnabled"_L1, job.isLimitLoadToSessionTypeEnabled());
    field("isUserNameEnabled"_L1, job.isUserNameEnabled);
    field("isLocked"_L1, job.isLocked());
    field("isScheduledEnabled"_L1, job.isScheduledEnabled);
    field("runIcon"_L1, job.runIcon);
    field("scheduled"_L1, job.scheduled);
}

// Writes the fields as members of the object open in writer, so a caller can add its own.
void writeFields(JsonWriter &writer, Job &job);
// Writes the rule as one object: its kind, then the values of that kind.
void writeRule(JsonWriter &writer, const ScheduledType &rule);

} // namespace JobJson

} // namespace Vandra

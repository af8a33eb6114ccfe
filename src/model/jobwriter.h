#pragma once

#include "model/job.h"
#include "model/rulerow.h"
#include "platform/plistvalue.h"

#include <QString>

#include <optional>

namespace Vandra {

// Turns a record back into the dictionary of its job file. The dictionary starts as the one
// read; only the keys of recorded changes and a few always-normalised keys are rebuilt.
namespace JobWriter {

// ruleRows are the rows of the schedule's rule editor showing the job, or nullptr when
// no rule editor shows it. The schedule keys are rebuilt from them only when the job
// records a time change (with nullptr they are then removed).
[[nodiscard]] PlistDict makePlist(Job &job, const RuleRows *ruleRows);
// The text of the file a save writes: the XML text of makePlist.
[[nodiscard]] std::optional<QString> fileText(Job &job, const RuleRows *ruleRows);

} // namespace JobWriter

} // namespace Vandra

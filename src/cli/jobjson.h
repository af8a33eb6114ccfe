#pragma once

#include "model/job.h"

#include <QJsonArray>
#include <QJsonObject>

// A record as the command line prints it: the derived fields, none as null.
namespace JobJson {

[[nodiscard]] QJsonObject fromJob(Job &job);
[[nodiscard]] QJsonObject fromRule(const ScheduledType &rule);

} // namespace JobJson

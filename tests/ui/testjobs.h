#pragma once

#include "model/joblist.h"

#include <memory>

namespace Vandra {

// The job of the shared list with that label, or none.
inline JobPtr jobLabelled(const QString &label) {
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->label == label)
            return job;
    }
    return {};
}

// A job of kind that is in no folder: enough for the rules that look at the kind.
inline JobPtr madeJob(Kind kind, const QString &label, const std::optional<QString> &url) {
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->originalKind = kind;
    job->label = label;
    job->originalLabel = label;
    job->url = url;
    job->setRun(QStringLiteral("/usr/bin/true --quiet"));
    return job;
}

} // namespace Vandra

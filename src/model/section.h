#pragma once

#include "model/job.h"

#include <QList>

#include <memory>

namespace Vandra {

// The jobs of one kind, as shown under one heading.
class Section final {
public:
    Section(Kind kind, QList<JobPtr> jobs)
        : kind(kind)
        , jobs(std::move(jobs)) {}

    Kind kind;
    QList<JobPtr> jobs;
    [[nodiscard]] qsizetype count() const { return jobs.size(); }
};

using SectionPtr = std::shared_ptr<Section>;

// Sections by kind in section order, keeping the list's order inside each; no section is
// empty, and a job without a kind is in none. showSystemJobs selects the kinds shown.
[[nodiscard]] QList<SectionPtr> buildSections(const QList<JobPtr> &jobs, bool showSystemJobs);

} // namespace Vandra

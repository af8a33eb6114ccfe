#include "model/section.h"

namespace Vandra {

QList<SectionPtr> buildSections(const QList<JobPtr> &jobs, bool showSystemJobs) {
    const QList<Kind> &kinds = showSystemJobs ? Kinds::allCases() : Kinds::nonSystemKinds();
    QList<SectionPtr> sections;
    for (Kind kind : kinds) {
        QList<JobPtr> ofKind;
        for (const JobPtr &job : jobs) {
            if (job->kind == kind)
                ofKind.append(job);
        }
        if (!ofKind.isEmpty())
            sections.append(std::make_shared<Section>(kind, std::move(ofKind)));
    }
    return sections;
}

} // namespace Vandra

#include "ui/modes/jobdrag.h"

#include <QMimeData>
#include <QUrl>

namespace Vandra {

namespace JobDrag {

bool canDrag(const JobPtr &job) {
    return job && job->url && !job->url->isEmpty() && job->kind &&
           *job->kind != Kind::loginItemSystemPreferences &&
           *job->kind != Kind::loginItemApplication;
}

QMimeData *mimeData(const JobPtr &job) {
    if (!canDrag(job))
        return nullptr;
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(*job->url)});
    return data;
}

} // namespace JobDrag

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QList>
#include <QString>

namespace Vandra {

// The filter of the toolbar's search field: a job passes when its text content holds the
// filter text, ignoring case and accents. The window keeps the text in its search field and
// filters every new job list with it.
namespace JobFilter {

// The text with its accents and other combining marks removed and its case folded.
[[nodiscard]] QString folded(const QString &text);
[[nodiscard]] bool matches(const Job &job, const QString &foldedText);
// The jobs that pass, in their order; all of them for an empty text.
[[nodiscard]] QList<JobPtr> filter(const QList<JobPtr> &jobs, const QString &text);

} // namespace JobFilter

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QList>
#include <QString>

namespace Vandra {

// The filter of the toolbar's search field: a job passes when its text content holds the
// filter text, ignoring case and accents. The text lasts for the process, so that every new
// job list is filtered the same way.
namespace JobFilter {

// The text with its accents and other combining marks removed and its case folded.
[[nodiscard]] QString folded(const QString &text);
[[nodiscard]] bool matches(const Job &job, const QString &foldedText);
// The jobs that pass, in their order; all of them for an empty text.
[[nodiscard]] QList<JobPtr> filter(const QList<JobPtr> &jobs, const QString &text);

[[nodiscard]] const QString &currentText();
void setCurrentText(const QString &text);

} // namespace JobFilter

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QColor>
#include <QString>

namespace Vandra {

// What the views show of a job, the same in every mode.
namespace JobTexts {

// The label alone, or the label and the summary when there is a non-empty summary.
[[nodiscard]] QString toolTip(const Job &job);
// The colour of a job's texts: the normal text colour, or the secondary one when disabled.
[[nodiscard]] QColor textColour(bool isEnabled);

} // namespace JobTexts

} // namespace Vandra

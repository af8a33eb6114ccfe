#include "ui/common/jobtexts.h"

#include "support/const.h"
#include "support/text.h"

#include <QGuiApplication>
#include <QPalette>

namespace Vandra {

namespace JobTexts {

QString toolTip(const Job &job) {
    if (!job.summary || job.summary->isEmpty())
        return job.label;
    return Text::bidirectionalString({job.label, *job.summary}, Const::separator);
}

QColor textColour(bool isEnabled) {
    const QPalette palette = QGuiApplication::palette();
    return palette.color(isEnabled ? QPalette::Text : QPalette::PlaceholderText);
}

} // namespace JobTexts

} // namespace Vandra

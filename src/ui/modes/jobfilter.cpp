#include "ui/modes/jobfilter.h"

#include <algorithm>

namespace {

QString &storedText() {
    static QString text;
    return text;
}

} // namespace

namespace JobFilter {

QString folded(const QString &text) {
    // Most job texts are plain ASCII, where decomposing changes nothing and folding the case
    // is lowering it; the general way costs ten times as much.
    const bool isAscii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (isAscii)
        return text.toLower();
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString result;
    result.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        switch (c.category()) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
            break;
        default:
            result.append(c);
        }
    }
    return result.toCaseFolded();
}

bool matches(const Job &job, const QString &foldedText) {
    if (!job.textContent.hasText())
        return false;
    return job.textContent.folded(&folded).contains(foldedText);
}

QList<JobPtr> filter(const QList<JobPtr> &jobs, const QString &text) {
    if (text.isEmpty())
        return jobs;
    const QString wanted = folded(text);
    QList<JobPtr> result;
    for (const JobPtr &job : jobs) {
        if (job && matches(*job, wanted))
            result.append(job);
    }
    return result;
}

const QString &currentText() {
    return storedText();
}

void setCurrentText(const QString &text) {
    storedText() = text;
}

} // namespace JobFilter

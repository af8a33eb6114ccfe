#include "ui/modes/jobfilter.h"

namespace Vandra {

namespace JobFilter {

QString folded(const QString &text) {
    // Most job texts are plain ASCII, where decomposing changes nothing and folding the case
    // is lowering A to Z: done here in one pass, as QString::toLower would look each
    // character up in the Unicode tables and take several times as long.
    if (text.isEmpty())
        return text;
    QString lowered(text.size(), Qt::Uninitialized);
    const auto *in = reinterpret_cast<const char16_t *>(text.constData());
    auto *out = reinterpret_cast<char16_t *>(lowered.data());
    qsizetype i = 0;
    for (; i < text.size() && in[i] < 0x80; ++i)
        out[i] = in[i] >= u'A' && in[i] <= u'Z' ? char16_t(in[i] + (u'a' - u'A')) : in[i];
    if (i == text.size())
        return lowered;
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

} // namespace JobFilter

} // namespace Vandra

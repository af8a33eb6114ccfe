#include "ui/modes/filteranswers.h"

#include "ui/modes/jobfilter.h"

#include <algorithm>

namespace Vandra {

namespace {

// Enough to type a word and take it back again.
constexpr qsizetype rememberedTexts = 12;

} // namespace

void FilterAnswers::setText(const QString &text) {
    if (text == m_text)
        return;
    m_text = text;
    m_relations.clear();
    if (text.isEmpty())
        return;
    const QString folded = JobFilter::folded(text);
    const auto same = std::find_if(m_answers.cbegin(), m_answers.cend(),
                                   [&](const Answers &a) { return a.folded == folded; });
    Answers now = same == m_answers.cend() ? Answers{folded, {}} : *same;
    if (same != m_answers.cend())
        m_answers.erase(same);
    m_answers.prepend(std::move(now));
    if (m_answers.size() > rememberedTexts)
        m_answers.removeLast();
    for (qsizetype i = 1; i < m_answers.size(); ++i) {
        const QString &earlier = m_answers.at(i).folded;
        m_relations.append(folded.contains(earlier)   ? Relation::held
                           : earlier.contains(folded) ? Relation::holding
                                                      : Relation::other);
    }
}

bool FilterAnswers::passes(const Job &job) {
    if (m_text.isEmpty())
        return true;
    const std::optional<bool> known = knownAnswer(&job);
    const bool passes = known ? *known : JobFilter::matches(job, m_answers.first().folded);
    m_answers.first().passes.insert(&job, passes);
    return passes;
}

void FilterAnswers::forgetJobs() {
    for (Answers &answers : m_answers)
        answers.passes.clear();
}

std::optional<bool> FilterAnswers::knownAnswer(const Job *job) const {
    if (const auto now = m_answers.first().passes.constFind(job);
        now != m_answers.first().passes.cend())
        return *now;
    for (qsizetype i = 1; i < m_answers.size(); ++i) {
        const Relation relation = m_relations.at(i - 1);
        if (relation == Relation::other)
            continue;
        const auto earlier = m_answers.at(i).passes.constFind(job);
        if (earlier == m_answers.at(i).passes.cend())
            continue;
        if (relation == Relation::held && !*earlier)
            return false;
        if (relation == Relation::holding && *earlier)
            return true;
    }
    return std::nullopt;
}

} // namespace Vandra

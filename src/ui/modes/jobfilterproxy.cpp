#include "ui/modes/jobfilterproxy.h"

#include "model/kind.h"
#include "ui/modes/jobfilter.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"

#include <algorithm>

namespace {

// Enough to type a word and take it back again.
constexpr qsizetype rememberedTexts = 12;

} // namespace

JobFilterProxy::JobFilterProxy(QObject *parent)
    : QSortFilterProxyModel(parent) {
    // A heading passes when one of its jobs does.
    setRecursiveFilteringEnabled(true);
    // Only the job a row stands for decides; its status, badge or texts changing do not.
    setFilterRole(Roles::Job);
    // A new list brings new records, which nothing is known about.
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        for (Answers &answers : m_answers)
            answers.passes.clear();
    });
}

void JobFilterProxy::setFilterText(const QString &text) {
    if (text == m_text)
        return;
    m_text = text;
    m_relations.clear();
    if (!text.isEmpty()) {
        const QString folded = JobFilter::folded(text);
        const auto same =
            std::find_if(m_answers.cbegin(), m_answers.cend(),
                         [&](const Answers &answers) { return answers.folded == folded; });
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
    // Hides the rows that no longer pass and shows those that now do, keeping the others.
    invalidateFilter();
}

std::optional<bool> JobFilterProxy::knownAnswer(const Job *job) const {
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

QVariant JobFilterProxy::data(const QModelIndex &index, int role) const {
    if ((role == Roles::Count || role == Qt::AccessibleTextRole) && index.isValid() &&
        index.column() == 0 && index.data(Roles::IsGroup).toBool()) {
        const int count = rowCount(index);
        if (role == Roles::Count)
            return count;
        return SectionModel::accessibleTitle(Kind(index.data(Roles::SectionKind).toInt()), count);
    }
    return QSortFilterProxyModel::data(index, role);
}

bool JobFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const {
    if (m_text.isEmpty())
        return true;
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    const JobPtr job = row.data(Roles::Job).value<JobPtr>();
    // Headings have no job: they pass through one of theirs.
    if (!job)
        return false;
    const std::optional<bool> known = knownAnswer(job.get());
    const bool passes = known ? *known : JobFilter::matches(*job, m_answers.first().folded);
    m_answers.first().passes.insert(job.get(), passes);
    return passes;
}

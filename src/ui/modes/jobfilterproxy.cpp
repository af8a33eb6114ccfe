#include "ui/modes/jobfilterproxy.h"

#include "model/kind.h"
#include "ui/modes/jobfilter.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"

JobFilterProxy::JobFilterProxy(QObject *parent)
    : QSortFilterProxyModel(parent) {
    // A heading passes when one of its jobs does.
    setRecursiveFilteringEnabled(true);
    // Only the job a row stands for decides; its status, badge or texts changing do not.
    setFilterRole(Roles::Job);
    // A new list brings new records, which nothing is known about.
    connect(this, &QAbstractItemModel::modelReset, this, [this] {
        m_before.clear();
        m_now.clear();
    });
}

void JobFilterProxy::setFilterText(const QString &text) {
    if (text == m_text)
        return;
    const QString folded = JobFilter::folded(text);
    if (m_text.isEmpty() || text.isEmpty())
        m_change = Change::other;
    else if (folded.contains(m_folded))
        m_change = Change::narrower;
    else if (m_folded.contains(folded))
        m_change = Change::wider;
    else
        m_change = Change::other;
    m_before = std::exchange(m_now, {});
    m_text = text;
    m_folded = folded;
    // Hides the rows that no longer pass and shows those that now do, keeping the others.
    invalidateFilter();
    m_before.clear();
    m_change = Change::other;
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
    // Asked again about a row whose status or badge changed.
    if (const auto now = m_now.constFind(job.get()); now != m_now.cend())
        return *now;
    if (m_change != Change::other) {
        const auto before = m_before.constFind(job.get());
        if (before != m_before.cend() && *before == (m_change == Change::wider)) {
            m_now.insert(job.get(), *before);
            return *before;
        }
    }
    const bool passes = JobFilter::matches(*job, m_folded);
    m_now.insert(job.get(), passes);
    return passes;
}

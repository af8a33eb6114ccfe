#include "ui/modes/jobfilterproxy.h"

#include "model/kind.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"

namespace Vandra {

JobFilterProxy::JobFilterProxy(QObject *parent)
    : QSortFilterProxyModel(parent) {
    // A heading passes when one of its jobs does.
    setRecursiveFilteringEnabled(true);
    // Only the job a row stands for decides; its status, badge or texts changing do not.
    setFilterRole(Roles::Job);
    // A new list brings new records, which nothing is known about.
    connect(this, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_answers.forgetJobs(); });
}

void JobFilterProxy::setFilterText(const QString &text) {
    if (text == m_answers.text())
        return;
    m_answers.setText(text);
    // Hides the rows that no longer pass and shows those that now do, keeping the others.
    invalidateFilter();
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
    if (m_answers.text().isEmpty())
        return true;
    const QModelIndex row = sourceModel()->index(sourceRow, 0, sourceParent);
    const JobPtr job = row.data(Roles::Job).value<JobPtr>();
    // Headings have no job: they pass through one of theirs.
    return job && m_answers.passes(*job);
}

} // namespace Vandra

#include "ui/modes/jobsortproxy.h"

#include "platform/labelcollator.h"
#include "ui/modes/listcolumn.h"
#include "ui/modes/roles.h"

namespace Vandra {

JobSortProxy::JobSortProxy(QObject *parent)
    : JobFilterProxy(parent) {
    setSortRole(Roles::Sort);
}

bool JobSortProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const {
    const QVariant a = left.data(Roles::Sort);
    const QVariant b = right.data(Roles::Sort);
    const auto column = ListColumn(left.column());

    if (column == ListColumn::summary && (a.isNull() || b.isNull())) {
        // The proxy sorts descending by asking with the sides swapped, so the side that
        // goes last depends on the order.
        const bool isAscending = sortOrder() == Qt::AscendingOrder;
        return isAscending ? (b.isNull() && !a.isNull()) : (a.isNull() && !b.isNull());
    }
    if (ListColumns::isText(column))
        return LabelCollator::compare(a.toString(), b.toString()) < 0;
    if (column == ListColumn::kind)
        return a.toInt() < b.toInt();
    // Flags: "less" is on before off, so ascending shows the jobs with the flag first.
    return a.toBool() && !b.toBool();
}

} // namespace Vandra

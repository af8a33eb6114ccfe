#pragma once

#include "ui/modes/jobfilterproxy.h"

namespace Vandra {

// Sorts the list mode's rows by a column. Text columns use the label comparison (case
// ignored, numbers by value); the kind column the order of the kinds; the yes/no columns put
// the jobs whose flag is on first when ascending and last when descending. A job without a
// summary comes after every job with one, in either direction. It shows the jobs that pass
// the filter.
class JobSortProxy final : public JobFilterProxy {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobSortProxy)

public:
    explicit JobSortProxy(QObject *parent = nullptr);

protected:
    [[nodiscard]] bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};

} // namespace Vandra

#pragma once

#include "ui/common/viewservices.h"
#include "ui/modes/listcolumn.h"
#include "ui/modes/modeview.h"

namespace Vandra {

class GuardedTreeView;
class JobSortProxy;
class JobTableModel;

// The list mode: a table of the jobs in seven columns, sorted by the column clicked. Hidden
// columns stay hidden across runs. The table holds every job of the list; a new filter text
// only hides and shows rows.
class ListModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListModeView)

public:
    explicit ListModeView(const ViewServices &services, QWidget *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs) override;
    void showJobs(const QList<JobPtr> &jobs, const QString &filterText) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    [[nodiscard]] JobTableModel *model() const { return m_model; }
    [[nodiscard]] JobSortProxy *proxy() const { return m_proxy; }

    // The jobs in the order shown.
    [[nodiscard]] QList<JobPtr> content() const;
    [[nodiscard]] bool isColumnVisible(ListColumn column) const;
    void setColumnVisible(ListColumn column, bool isVisible);

private:
    void restoreHiddenColumns();

    JobTableModel *m_model;
    JobSortProxy *m_proxy;
    GuardedTreeView *m_view;
};

} // namespace Vandra

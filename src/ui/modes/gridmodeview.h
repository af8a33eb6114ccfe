#pragma once

#include "ui/common/viewservices.h"
#include "ui/modes/modeview.h"

namespace Vandra {

class GridView;
class JobFilterProxy;
class SectionModel;

// The grid mode: a section per kind, an item per job.
class GridModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridModeView)

public:
    explicit GridModeView(const ViewServices &services, QWidget *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs) override;
    void showJobs(const QList<JobPtr> &jobs, const QString &filterText) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    // The sections and jobs shown: those that pass the filter.
    [[nodiscard]] QAbstractItemModel *model() const;

private:
    SectionModel *m_model;
    JobFilterProxy *m_proxy;
    GridView *m_view;
};

} // namespace Vandra

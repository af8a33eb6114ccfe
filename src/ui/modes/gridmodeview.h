#pragma once

#include "ui/modes/modeview.h"

class GridView;
class SectionModel;

// The grid mode: a section per kind, an item per job.
class GridModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridModeView)

public:
    explicit GridModeView(QWidget *parent = nullptr);

    void setJobs(const QList<JobPtr> &jobs) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    [[nodiscard]] SectionModel *model() const { return m_model; }

private:
    SectionModel *m_model;
    GridView *m_view;
};

#pragma once

#include "schedule/timelinejobs.h"
#include "ui/common/viewservices.h"
#include "ui/modes/filteranswers.h"
#include "ui/modes/modeview.h"

#include <QDateTime>
#include <QTimeZone>

#include <functional>
#include <memory>

namespace Vandra {

class TimelineModel;
class TimelineTableView;
class VirtualTimeline;

// The timeline mode: when the jobs shown run in the coming month, by day, after the block
// of jobs that repeat at an interval. It is built when it is given a new job list and does
// not move on by itself.
class TimelineModeView final : public ModeView {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimelineModeView)

public:
    explicit TimelineModeView(const ViewServices &services, QWidget *parent = nullptr);
    ~TimelineModeView() override;

    void setJobs(const QList<JobPtr> &jobs) override;
    void showJobs(const QList<JobPtr> &jobs, const QString &filterText) override;
    void showCurrentJob(const JobPtr &job) override;
    [[nodiscard]] QAbstractItemView *itemView() const override;
    // The job of a time or interval row, by its file.
    [[nodiscard]] JobPtr jobAt(const QModelIndex &index) const override;
    [[nodiscard]] TimelineModel *model() const { return m_model; }

    // The clock and the time zone the timeline is built with; the system's unless told.
    void setClock(std::function<QDateTime()> clock, const QTimeZone &zone);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void rebuild();

    TimelineModel *m_model;
    TimelineTableView *m_view;
    std::optional<QList<JobPtr>> m_content;
    // The whole job list as the timeline reads it, and its timeline with the starts of each
    // job counted, for the filter's parts of it.
    std::optional<TimelineJobs> m_read;
    QList<JobPtr> m_readFrom;
    std::unique_ptr<VirtualTimeline> m_whole;
    // The list last filtered and what the filter learnt of its jobs.
    QList<JobPtr> m_filtered;
    FilterAnswers m_answers;
    std::function<QDateTime()> m_clock;
    QTimeZone m_zone = QTimeZone::systemTimeZone();
};

} // namespace Vandra

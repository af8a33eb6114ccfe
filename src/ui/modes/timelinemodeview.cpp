#include "ui/modes/timelinemodeview.h"

#include "model/joblist.h"
#include "schedule/virtualtimeline.h"
#include "ui/modes/roles.h"
#include "ui/modes/timelinemodel.h"
#include "ui/modes/timelinetableview.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace Vandra {

TimelineModeView::TimelineModeView(const ViewServices &services, QWidget *parent)
    : ModeView(parent)
    , m_model(new TimelineModel(services, this))
    , m_view(new TimelineTableView(this))
    , m_clock([] { return QDateTime::currentDateTime(); }) {
    setObjectName(QStringLiteral("timelineMode"));
    m_view->setObjectName(QStringLiteral("timelineView"));
    m_view->setAccessibleName(tr("Upcoming runs"));
    m_view->horizontalHeader()->setAccessibleName(tr("Columns"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setModel(m_model);
    m_view->verticalHeader()->setMinimumSectionSize(0);
    m_view->verticalHeader()->setDefaultSectionSize(TimelineModel::rowHeight);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionGate([this] { return allowsSelectionChange(); });
    m_view->horizontalHeader()->resizeSection(TimelineModel::timeColumn, 90);

    connect(m_model, &TimelineModel::timelineChanged, this, [this] {
        m_view->setHeadingRows(m_model->headingRows(), TimelineModel::groupRowHeight);
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_view->selectionModel()->selectedRows();
        if (selected.isEmpty())
            return;
        if (const JobPtr job = jobAt(selected.first()))
            selectionChangedTo(job);
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    enableJobGestures();
}

TimelineModeView::~TimelineModeView() = default;

void TimelineModeView::setJobs(const QList<JobPtr> &jobs) {
    if (m_content && *m_content == jobs && m_model->rowCount() > 0)
        return;
    m_content = jobs;
    rebuild();
}

void TimelineModeView::showJobs(const QList<JobPtr> &jobs, const QString &filterText) {
    if (jobs != m_filtered) {
        m_answers.forgetJobs();
        m_filtered = jobs;
    }
    m_answers.setText(filterText);
    if (filterText.isEmpty()) {
        setJobs(jobs);
        return;
    }
    QList<JobPtr> shown;
    shown.reserve(jobs.size());
    for (const JobPtr &job : jobs) {
        if (job && m_answers.passes(*job))
            shown.append(job);
    }
    setJobs(shown);
}

void TimelineModeView::setClock(std::function<QDateTime()> clock, const QTimeZone &zone) {
    m_clock = std::move(clock);
    m_zone = zone;
    m_model->setTimeZone(zone);
    // What was counted with the clock before does not hold for this one.
    m_whole.reset();
}

void TimelineModeView::rebuild() {
    const QList<JobPtr> &all = JobList::shared().jobs();
    const QList<JobPtr> &jobs = m_content ? *m_content : all;
    // Each keystroke of the filter shows a part of the same list: its jobs are read once, and
    // their starts counted once a minute (they do not change within it).
    if (!m_read || m_readFrom != all) {
        m_read = TimelineJobs(all);
        m_readFrom = all;
        m_whole.reset();
    }
    const QDateTime now = m_clock();
    if (!m_whole || !m_whole->hasStartsOfMonthFrom(now)) {
        m_whole = std::make_unique<VirtualTimeline>(*m_read, now, m_zone,
                                                    VirtualTimeline::Counts::perJob);
    }
    // Without a date a month ahead there is nothing to show until it can be formed.
    if (!m_whole->isValid())
        return;
    // The current job is read again for a part, as it may have edits that are not saved.
    const bool isWhole = jobs == all && !JobList::shared().currentJob();
    m_model->setTimeline(std::make_unique<VirtualTimeline>(
        isWhole ? *m_whole : m_whole->part(m_whole->jobs().subset(jobs))));
}

void TimelineModeView::hideEvent(QHideEvent *event) {
    // The list read is kept only while it is filtered, not after it has been replaced.
    m_read.reset();
    m_readFrom.clear();
    m_whole.reset();
    m_filtered.clear();
    m_answers.forgetJobs();
    ModeView::hideEvent(event);
}

void TimelineModeView::showCurrentJob(const JobPtr &job) {
    const int row = job && job->url ? m_model->firstRowOfUrl(*job->url) : -1;
    selectQuietly(row < 0 ? QModelIndex() : m_model->index(row, 0));
}

QAbstractItemView *TimelineModeView::itemView() const {
    return m_view;
}

JobPtr TimelineModeView::jobAt(const QModelIndex &index) const {
    const QString url = index.siblingAtColumn(0).data(Roles::Url).toString();
    if (url.isEmpty() || !m_content)
        return {};
    for (const JobPtr &job : std::as_const(*m_content)) {
        if (job->url == url)
            return job;
    }
    return {};
}

} // namespace Vandra

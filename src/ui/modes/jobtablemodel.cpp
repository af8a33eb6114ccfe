#include "ui/modes/jobtablemodel.h"

#include "actions/jobstatussource.h"
#include "actions/jobstatustext.h"
#include "ui/common/icons.h"
#include "ui/common/jobhealth.h"
#include "ui/common/jobtexts.h"
#include "ui/common/programicons.h"
#include "ui/common/severitybadge.h"
#include "ui/modes/roles.h"

#include <QBrush>

namespace Vandra {

namespace {

QVariant checkState(bool on) {
    return on ? Qt::Checked : Qt::Unchecked;
}

// Where a job without a kind sorts: after every kind.
constexpr int noKindPosition = 1000;

} // namespace

JobTableModel::JobTableModel(const ViewServices &services, QObject *parent)
    : QAbstractTableModel(parent)
    , m_services(services) {
    connect(&m_services.health, &JobHealth::changed, this, [this] {
        if (!m_jobs.isEmpty())
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                               {Qt::DecorationRole, Qt::AccessibleTextRole, Roles::Severity});
    });
    connect(&m_services.status, &JobStatusSource::statusChanged, this, [this] {
        const int column = int(ListColumn::status);
        if (!m_jobs.isEmpty())
            Q_EMIT dataChanged(index(0, column), index(int(m_jobs.size()) - 1, column));
    });
}

void JobTableModel::setJobs(const QList<JobPtr> &jobs) {
    beginResetModel();
    m_jobs = jobs;
    endResetModel();
}

int JobTableModel::rowOfJob(const JobPtr &job) const {
    if (!job)
        return -1;
    const qsizetype same = m_jobs.indexOf(job);
    if (same >= 0)
        return int(same);
    for (int row = 0; row < m_jobs.size(); ++row) {
        if (job->url && m_jobs.at(row)->url == job->url)
            return row;
    }
    return -1;
}

int JobTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_jobs.size());
}

int JobTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(ListColumns::allCases().size());
}

QVariant JobTableModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const JobPtr &record = m_jobs.at(index.row());
    Job &job = *record;
    const auto column = ListColumn(index.column());

    switch (role) {
    case Roles::Job:
        return QVariant::fromValue(record);
    case Roles::IsEnabled:
        return job.isEnabled();
    case Roles::Url:
        return job.url ? QVariant(*job.url) : QVariant();
    case Roles::Severity:
        return JobHealth::roleData(m_services.health.severityOf(record));
    case Qt::ForegroundRole:
        return ListColumns::isText(column) ? QVariant(QBrush(JobTexts::textColour(job.isEnabled())))
                                           : QVariant();
    default:
        break;
    }

    switch (column) {
    case ListColumn::name:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Roles::Sort)
            return job.label;
        if (role == Qt::AccessibleTextRole)
            return SeverityBadge::accessibleText(job.label, m_services.health.severityOf(record));
        break;
    case ListColumn::summary:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return job.summary.value_or(QString());
        if (role == Roles::Sort)
            return job.summary ? QVariant(*job.summary) : QVariant();
        break;
    case ListColumn::kind:
        // The doctor's badge sits on the corner of the kind's icon.
        if (role == Qt::DecorationRole)
            return SeverityBadge::badged(job.kind ? m_services.icons.kind(*job.kind) : QIcon(),
                                         m_services.health.severityOf(record));
        if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole)
            return job.kind ? QVariant(Kinds::title(*job.kind)) : QVariant();
        if (role == Roles::Sort)
            return job.kind ? Kinds::rawValue(*job.kind) : noKindPosition;
        break;
    case ListColumn::enabled:
        if (role == Qt::DecorationRole)
            return job.isEnabled() ? Icons::enabledImage() : Icons::disabledImage();
        if (role == Roles::Sort)
            return job.isEnabled();
        break;
    case ListColumn::keepAlive:
        if (role == Qt::CheckStateRole)
            return checkState(job.keepAlive().value_or(false));
        if (role == Roles::Sort)
            return job.keepAlive().value_or(false);
        break;
    case ListColumn::scheduled:
        if (role == Qt::CheckStateRole)
            return checkState(job.isScheduledEnabled);
        if (role == Roles::Sort)
            return job.isScheduledEnabled;
        break;
    case ListColumn::run:
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole || role == Roles::Sort)
            return job.run();
        break;
    case ListColumn::status: {
        const auto status = m_services.status.status(job);
        if (role == Qt::DisplayRole || role == Roles::Sort)
            return JobStatusText::brief(status);
        if (role == Qt::ToolTipRole)
            return JobStatusText::line(status);
        if (role == Roles::StatusMark)
            return int(JobStatusText::mark(status));
        break;
    }
    }
    return {};
}

QVariant JobTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ListColumns::allCases().size())
        return {};
    if (role == Qt::DisplayRole)
        return ListColumns::title(ListColumn(section));
    return {};
}

Qt::ItemFlags JobTableModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace Vandra

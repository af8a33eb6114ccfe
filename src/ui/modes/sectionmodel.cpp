#include "ui/modes/sectionmodel.h"

#include "actions/jobstatussource.h"
#include "actions/jobstatustext.h"
#include "support/localize.h"
#include "ui/common/icons.h"
#include "ui/common/jobhealth.h"
#include "ui/common/jobtexts.h"
#include "ui/common/programicons.h"
#include "ui/common/severitybadge.h"
#include "ui/modes/roles.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>

namespace Vandra {

namespace {

// Section rows carry this internal id; a job row carries its section's row plus one.
constexpr quintptr sectionId = 0;

} // namespace

SectionModel::SectionModel(const ViewServices &services, QObject *parent)
    : QAbstractItemModel(parent)
    , m_services(services) {
    connect(&m_services.health, &JobHealth::changed, this, &SectionModel::healthChanged);
    connect(&m_services.status, &JobStatusSource::statusChanged, this, [this] {
        for (int s = 0; s < m_sections.size(); ++s) {
            const int count = int(m_sections.at(s)->jobs.size());
            if (count > 0)
                Q_EMIT dataChanged(index(0, titleColumn, index(s, 0)),
                                   index(count - 1, countColumn, index(s, 0)));
        }
    });
}

void SectionModel::setSections(const QList<SectionPtr> &sections) {
    beginResetModel();
    m_sections = sections;
    endResetModel();
}

QModelIndex SectionModel::indexOfJob(const JobPtr &job) const {
    if (!job)
        return {};
    QModelIndex sameFile;
    for (int s = 0; s < m_sections.size(); ++s) {
        const QList<JobPtr> &jobs = m_sections.at(s)->jobs;
        for (int j = 0; j < jobs.size(); ++j) {
            if (jobs.at(j) == job)
                return index(j, 0, index(s, 0));
            if (!sameFile.isValid() && job->url && jobs.at(j)->url == job->url)
                sameFile = index(j, 0, index(s, 0));
        }
    }
    return sameFile;
}

QModelIndex SectionModel::indexOfSection(Kind kind) const {
    for (int s = 0; s < m_sections.size(); ++s) {
        if (m_sections.at(s)->kind == kind)
            return index(s, 0);
    }
    return {};
}

JobPtr SectionModel::jobAt(const QModelIndex &index) {
    return index.data(Roles::Job).value<JobPtr>();
}

QString SectionModel::accessibleTitle(Kind kind, qsizetype count) {
    return tr("%1, %n jobs", nullptr, int(count)).arg(Kinds::title(kind));
}

QModelIndex SectionModel::index(int row, int column, const QModelIndex &parent) const {
    if (!hasIndex(row, column, parent))
        return {};
    if (!parent.isValid())
        return createIndex(row, column, sectionId);
    return createIndex(row, column, quintptr(parent.row()) + 1);
}

QModelIndex SectionModel::parent(const QModelIndex &child) const {
    if (!child.isValid() || child.internalId() == sectionId)
        return {};
    return createIndex(int(child.internalId() - 1), 0, sectionId);
}

int SectionModel::rowCount(const QModelIndex &parent) const {
    if (!parent.isValid())
        return int(m_sections.size());
    if (parent.internalId() == sectionId && parent.column() == 0)
        return int(m_sections.at(parent.row())->jobs.size());
    return 0;
}

int SectionModel::columnCount(const QModelIndex &) const {
    return columnCount_;
}

QVariant SectionModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    if (index.internalId() == sectionId)
        return sectionData(*m_sections.at(index.row()), index.column(), role);
    const Section &section = *m_sections.at(int(index.internalId() - 1));
    return jobData(section.jobs.at(index.row()), index.column(), role);
}

QVariant SectionModel::sectionData(const Section &section, int column, int role) const {
    switch (role) {
    case Qt::DisplayRole:
        // The count is shown by the views' own buttons and headers, not as cell text.
        return column == titleColumn ? QVariant(Kinds::title(section.kind)) : QVariant();
    case Qt::DecorationRole:
        return column == titleColumn ? QVariant(m_services.icons.kind(section.kind)) : QVariant();
    case Qt::ToolTipRole:
        return column == titleColumn ? Kinds::title(section.kind) : QVariant();
    case Qt::AccessibleTextRole:
        // A screen reader reads the count that sighted users see beside the title.
        return column == titleColumn ? accessibleTitle(section.kind, section.count()) : QVariant();
    case Qt::FontRole: {
        QFont font = QGuiApplication::font();
        font.setBold(true);
        return font;
    }
    case Roles::SectionKind:
        return Kinds::rawValue(section.kind);
    case Roles::Count:
        return int(section.count());
    case Roles::IsGroup:
        return true;
    default:
        break;
    }
    return {};
}

QVariant SectionModel::jobData(const JobPtr &record, int column, int role) const {
    Job &job = *record;
    const auto status = [this, &job] { return m_services.status.status(job); };
    if (role == Roles::StatusMark)
        return int(JobStatusText::mark(status()));
    if (column == countColumn) {
        // A small mark beside the label: filled while the job runs, hollow while loaded.
        switch (role) {
        case Qt::DisplayRole: {
            const JobStatusText::Mark mark = JobStatusText::mark(status());
            return mark == JobStatusText::Mark::running  ? QStringLiteral("\u25CF")
                   : mark == JobStatusText::Mark::loaded ? QStringLiteral("\u25CB")
                                                         : QString();
        }
        case Qt::ToolTipRole:
        case Qt::AccessibleTextRole:
            return JobStatusText::line(status());
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            break;
        }
    }
    if (column != titleColumn)
        return role == Roles::IsGroup ? QVariant(false) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return job.label;
    case Qt::DecorationRole:
        return SeverityBadge::badged(job.isEnabled() ? m_services.icons.run(job)
                                                     : Icons::disabledImage(),
                                     m_services.health.severityOf(record));
    case Qt::AccessibleTextRole:
        return SeverityBadge::accessibleText(job.label, m_services.health.severityOf(record));
    case Roles::Severity:
        return JobHealth::roleData(m_services.health.severityOf(record));
    case Qt::ToolTipRole:
        return JobTexts::toolTip(job);
    case Qt::ForegroundRole:
        return QBrush(JobTexts::textColour(job.isEnabled()));
    case Roles::Job:
        return QVariant::fromValue(record);
    case Roles::IsEnabled:
        return job.isEnabled();
    case Roles::Url:
        return job.url ? QVariant(*job.url) : QVariant();
    case Roles::IsGroup:
        return false;
    default:
        break;
    }
    return {};
}

void SectionModel::healthChanged() {
    for (int s = 0; s < m_sections.size(); ++s) {
        const qsizetype count = m_sections.at(s)->jobs.size();
        if (count == 0)
            continue;
        const QModelIndex section = index(s, 0);
        Q_EMIT dataChanged(index(0, titleColumn, section),
                           index(int(count) - 1, titleColumn, section),
                           {Qt::DecorationRole, Qt::AccessibleTextRole, Roles::Severity});
    }
}

Qt::ItemFlags SectionModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (index.internalId() == sectionId)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

} // namespace Vandra

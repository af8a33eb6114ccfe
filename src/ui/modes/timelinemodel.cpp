#include "ui/modes/timelinemodel.h"

#include "platform/datetexts.h"
#include "ui/common/jobhealth.h"
#include "ui/common/jobtexts.h"
#include "ui/common/severitybadge.h"
#include "ui/modes/roles.h"

#include <QBrush>
#include <QFont>
#include <QGuiApplication>
#include <QSize>

TimelineModel::TimelineModel(QObject *parent)
    : QAbstractTableModel(parent) {
    connect(&JobHealth::shared(), &JobHealth::changed, this, [this] {
        if (!m_rows.isEmpty())
            Q_EMIT dataChanged(index(0, nameColumn), index(rowCount() - 1, nameColumn),
                               {Qt::DecorationRole, Qt::AccessibleTextRole, Roles::Severity});
    });
}

void TimelineModel::setRows(const QList<Timeline> &rows) {
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

int TimelineModel::firstRowOfUrl(const QString &url) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        const Timeline &entry = m_rows.at(row);
        if (entry.kind != TimelineKind::group && entry.url == url)
            return row;
    }
    return -1;
}

int TimelineModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TimelineModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

QVariant TimelineModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Timeline &row = m_rows.at(index.row());
    const bool isGroup = row.kind == TimelineKind::group;

    switch (role) {
    case Roles::IsGroup:
        return isGroup;
    case Roles::TimelineKind:
        return int(row.kind);
    case Roles::Url:
        return row.url ? QVariant(*row.url) : QVariant();
    case Roles::IsEnabled:
        return row.isEnabled;
    case Qt::SizeHintRole:
        return QSize(-1, isGroup ? groupRowHeight : rowHeight);
    default:
        break;
    }

    if (isGroup) {
        if (index.column() != timeColumn)
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return row.name;
        if (role == Qt::FontRole) {
            QFont font = QGuiApplication::font();
            font.setBold(true);
            return font;
        }
        return {};
    }

    if (index.column() == timeColumn) {
        if (row.kind != TimelineKind::time)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return DateTexts::shortTime(row.date, m_zone);
        case Qt::FontRole: {
            QFont font = QGuiApplication::font();
            font.setStyleHint(QFont::System);
            return font;
        }
        case Qt::TextAlignmentRole:
            // Times line up at their end; in right-to-left layouts at the left.
            return QVariant::fromValue(Qt::AlignTrailing | Qt::AlignVCenter);
        case Qt::ForegroundRole:
            return QBrush(JobTexts::textColour(row.isEnabled));
        default:
            return {};
        }
    }

    const auto severity = [&row] {
        return row.url ? JobHealth::shared().severityOfUrl(*row.url) : std::nullopt;
    };
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.name;
    case Qt::ForegroundRole:
        return QBrush(JobTexts::textColour(row.isEnabled));
    case Qt::DecorationRole:
        if (const std::optional<Finding::Severity> worst = severity())
            return SeverityBadge::icon(*worst);
        return {};
    case Qt::AccessibleTextRole:
        return SeverityBadge::accessibleText(row.name, severity());
    case Roles::Severity:
        return JobHealth::roleData(severity());
    default:
        break;
    }
    return {};
}

Qt::ItemFlags TimelineModel::flags(const QModelIndex &index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    // Headings cannot be selected, so selecting one does nothing.
    if (m_rows.at(index.row()).kind == TimelineKind::group)
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

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

#include <limits>

namespace Vandra {

TimelineModel::TimelineModel(const ViewServices &services, QObject *parent)
    : QAbstractTableModel(parent)
    , m_services(services)
    , m_kept(std::make_unique<std::array<KeptRow, keptRows>>()) {
    connect(&m_services.health, &JobHealth::changed, this, [this] {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0, nameColumn), index(rowCount() - 1, nameColumn),
                               {Qt::DecorationRole, Qt::AccessibleTextRole, Roles::Severity});
    });
}

TimelineModel::~TimelineModel() = default;

void TimelineModel::setTimeline(std::unique_ptr<VirtualTimeline> timeline) {
    const int before = rowCount();
    const int total =
        timeline ? int(std::min<qint64>(timeline->rowCount(), std::numeric_limits<int>::max())) : 0;
    // As many rows as were shown, or a first screen's worth: more come as the view asks.
    const int after = std::min(total, std::max(before, firstRows));
    if (before == 0 || after == 0) {
        beginResetModel();
        m_timeline = std::move(timeline);
        m_total = total;
        m_rows = after;
        m_kept->fill(KeptRow());
        endResetModel();
        Q_EMIT timelineChanged();
        return;
    }
    // Rows that go, go while the others still show what they showed; rows that come, come
    // after the others show the new timeline. Meanwhile the view may look for more rows,
    // and is told there are none.
    m_total = std::min(before, after);
    if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        m_rows = after;
        endRemoveRows();
    }
    m_timeline = std::move(timeline);
    m_kept->fill(KeptRow());
    Q_EMIT dataChanged(index(0, 0), index(std::min(before, after) - 1, columnCount_ - 1));
    if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        m_rows = after;
        endInsertRows();
    }
    m_total = total;
    Q_EMIT timelineChanged();
}

bool TimelineModel::canFetchMore(const QModelIndex &parent) const {
    return !parent.isValid() && m_rows < m_total;
}

void TimelineModel::fetchMore(const QModelIndex &parent) {
    // Twice as many each time: a view scrolled to the end of a month gets there in a few steps.
    if (!parent.isValid())
        showRowsTo(m_rows + std::max(m_rows, firstRows) - 1);
}

void TimelineModel::showRowsTo(int row) {
    const int last = std::min(row, m_total - 1);
    if (last < m_rows)
        return;
    beginInsertRows(QModelIndex(), m_rows, last);
    m_rows = last + 1;
    endInsertRows();
    // The headings among the new rows.
    Q_EMIT timelineChanged();
}

const Timeline &TimelineModel::keptRow(int index) const {
    KeptRow &kept = (*m_kept)[size_t(index) % keptRows];
    if (kept.index != index) {
        kept.row = m_timeline->row(index);
        kept.index = index;
    }
    return kept.row;
}

Timeline TimelineModel::row(int index) const {
    return keptRow(index);
}

QList<int> TimelineModel::headingRows() const {
    QList<int> rows;
    if (!m_timeline)
        return rows;
    for (const qint64 row : m_timeline->headingRows()) {
        if (row < rowCount())
            rows.append(int(row));
    }
    return rows;
}

int TimelineModel::firstRowOfUrl(const QString &url) {
    const qint64 row = m_timeline ? m_timeline->firstRowOfUrl(url) : -1;
    if (row < 0 || row >= m_total)
        return -1;
    showRowsTo(int(row));
    return int(row);
}

qsizetype TimelineModel::heldBytes() const {
    qsizetype bytes = sizeof(*this) + sizeof(*m_kept);
    for (const KeptRow &kept : *m_kept) {
        bytes += kept.row.name.capacity() * sizeof(QChar);
        if (kept.row.url)
            bytes += kept.row.url->capacity() * sizeof(QChar);
    }
    return bytes + (m_timeline ? m_timeline->heldBytes() : 0);
}

int TimelineModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TimelineModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : columnCount_;
}

QVariant TimelineModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    // What a view asks of every row it lays out needs only the kind, not the row itself.
    const TimelineKind kind = m_timeline->kindAt(index.row());
    const bool isGroup = kind == TimelineKind::group;
    switch (role) {
    case Roles::IsGroup:
        return isGroup;
    case Roles::TimelineKind:
        return int(kind);
    case Qt::SizeHintRole:
        return QSize(-1, isGroup ? groupRowHeight : rowHeight);
    default:
        break;
    }

    const Timeline &row = keptRow(index.row());
    switch (role) {
    case Roles::Url:
        return row.url ? QVariant(*row.url) : QVariant();
    case Roles::IsEnabled:
        return row.isEnabled;
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
    return index.column() == timeColumn ? timeData(row, role) : nameData(row, role);
}

QVariant TimelineModel::timeData(const Timeline &row, int role) const {
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

QVariant TimelineModel::nameData(const Timeline &row, int role) const {
    const auto severity = [this, &row] {
        return row.url ? m_services.health.severityOfUrl(*row.url) : std::nullopt;
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
        return {};
    }
}

Qt::ItemFlags TimelineModel::flags(const QModelIndex &index) const {
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return Qt::NoItemFlags;
    // Headings cannot be selected, so selecting one does nothing.
    if (m_timeline->kindAt(index.row()) == TimelineKind::group)
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace Vandra

#include "schedule/ruleeditormodel.h"

#include "schedule/scheduledhelper.h"

#include <QLocale>
#include <QStringList>
#include <QTime>

namespace Vandra {

namespace {

RuleEditorModel *&attachedModel() {
    static RuleEditorModel *model = nullptr;
    return model;
}

QString textOf(const RuleValue &value) {
    if (const auto *title = std::get_if<QString>(&value))
        return *title;
    if (const auto *field = std::get_if<RuleTextField>(&value))
        return field->text;
    return QLocale().toString(std::get<QTime>(value), QLocale::ShortFormat);
}

QVariant variantOf(const RuleValue &value) {
    if (const auto *title = std::get_if<QString>(&value))
        return *title;
    if (const auto *field = std::get_if<RuleTextField>(&value))
        return QVariant::fromValue(*field);
    return std::get<QTime>(value);
}

bool isControl(const RuleValue &value) {
    return !std::holds_alternative<QString>(value);
}

} // namespace

RuleEditorModel::RuleEditorModel(QObject *parent)
    : QAbstractListModel(parent) {}

RuleEditorModel::~RuleEditorModel() {
    detach();
}

int RuleEditorModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant RuleEditorModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RuleRow &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole: {
        QStringList texts;
        for (const RuleValue &value : row.values)
            texts.append(textOf(value));
        return texts.join(QLatin1Char(' '));
    }
    case PathRole: {
        QVariantList path;
        for (int component : row.path)
            path.append(component);
        return path;
    }
    case ValuesRole: {
        QVariantList values;
        for (const RuleValue &value : row.values)
            values.append(variantOf(value));
        return values;
    }
    case KindRole:
        return row.path.isEmpty() ? QVariant() : QVariant(row.path.first());
    default:
        return {};
    }
}

QHash<int, QByteArray> RuleEditorModel::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(PathRole, QByteArrayLiteral("path"));
    names.insert(ValuesRole, QByteArrayLiteral("values"));
    names.insert(KindRole, QByteArrayLiteral("kind"));
    return names;
}

Qt::ItemFlags RuleEditorModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags itemFlags = QAbstractListModel::flags(index);
    if (m_isEditable && index.isValid())
        itemFlags |= Qt::ItemIsEditable;
    return itemFlags;
}

bool RuleEditorModel::insertRows(int row, int count, const QModelIndex &parent) {
    if (!m_isEditable || parent.isValid() || row < 0 || row > m_rows.size() || count <= 0)
        return false;
    const ScheduledHelper &helper = ScheduledHelper::shared();
    const std::optional<RuleRow> newRow =
        helper.rowForPath(templatePath(Scheduled::Kind::repeatInterval));
    if (!newRow)
        return false;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_rows.insert(row, count, *newRow);
    endInsertRows();
    ScheduledHelper::markTimeChanged();
    return true;
}

bool RuleEditorModel::removeRows(int row, int count, const QModelIndex &parent) {
    if (!m_isEditable || parent.isValid() || row < 0 || count <= 0 || row + count > m_rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.remove(row, count);
    endRemoveRows();
    ScheduledHelper::markTimeChanged();
    return true;
}

void RuleEditorModel::setRows(const RuleRows &rows) {
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void RuleEditorModel::appendRow(const RuleRow &row) {
    const int index = int(m_rows.size());
    beginInsertRows(QModelIndex(), index, index);
    m_rows.append(row);
    endInsertRows();
}

void RuleEditorModel::removeAllRows() {
    if (m_rows.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, int(m_rows.size()) - 1);
    m_rows.clear();
    endRemoveRows();
}

void RuleEditorModel::recordDefaultRows() {
    const ScheduledHelper &helper = ScheduledHelper::shared();
    const qsizetype first = m_rows.size();
    for (int raw = 0; raw <= int(Scheduled::Kind::dayOfYear); ++raw) {
        if (const std::optional<RuleRow> row =
                helper.rowForPath(helper.defaultPath(Scheduled::Kind(raw))))
            appendRow(*row);
    }
    for (qsizetype index = first; index < m_rows.size(); ++index)
        m_recordedPaths.append(m_rows.at(index).path);
}

QList<int> RuleEditorModel::templatePath(Scheduled::Kind kind) const {
    const auto raw = qsizetype(kind);
    if (raw < m_recordedPaths.size() &&
        ScheduledHelper::kindOfPath(m_recordedPaths.at(raw)) == kind)
        return m_recordedPaths.at(raw);
    return ScheduledHelper::shared().defaultPath(kind);
}

void RuleEditorModel::setEditable(bool editable) {
    if (m_isEditable == editable)
        return;
    m_isEditable = editable;
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(m_rows.size()) - 1));
    Q_EMIT editableChanged(editable);
}

bool RuleEditorModel::addRow(Scheduled::Kind kind) {
    if (!m_isEditable)
        return false;
    const ScheduledHelper &helper = ScheduledHelper::shared();
    const std::optional<RuleRow> row = helper.rowForPath(templatePath(kind));
    if (!row)
        return false;
    appendRow(*row);
    ScheduledHelper::markTimeChanged();
    return true;
}

bool RuleEditorModel::chooseCriterion(int row, int level, int childIndex) {
    if (!m_isEditable || !isRow(row) || level < 0 || level >= m_rows.at(row).path.size())
        return false;
    const RuleRow &old = m_rows.at(row);
    QList<int> path = old.path.first(level);
    path.append(childIndex);
    const ScheduledHelper &helper = ScheduledHelper::shared();
    const Criterion *criterion = nullptr;
    for (int component : path) {
        const CriterionPtr next = helper.child(component, criterion);
        if (!next)
            return false;
        criterion = next.get();
    }
    while (criterion->childCount() > 0) {
        path.append(0);
        criterion = criterion->child(0).get();
    }
    std::optional<RuleRow> changed = helper.rowForPath(path);
    if (!changed)
        return false;
    for (qsizetype column = level; column < changed->values.size() && column < old.values.size();
         ++column) {
        const RuleValue &kept = old.values.at(column);
        if (isControl(kept) && kept.index() == changed->values.at(column).index())
            changed->values[column] = kept;
    }
    m_rows[row] = *changed;
    Q_EMIT dataChanged(index(row), index(row));
    ScheduledHelper::markTimeChanged();
    return true;
}

bool RuleEditorModel::setValue(int row, int column, const RuleValue &value) {
    if (!m_isEditable || !isRow(row) || column < 0 || column >= m_rows.at(row).values.size())
        return false;
    RuleValue &current = m_rows[row].values[column];
    if (!isControl(current) || current.index() != value.index())
        return false;
    if (const auto *time = std::get_if<QTime>(&value); time && !time->isValid())
        return false;
    current = value;
    Q_EMIT dataChanged(index(row), index(row));
    ScheduledHelper::markTimeChanged();
    return true;
}

RuleEditorModel *RuleEditorModel::attached() {
    return attachedModel();
}

void RuleEditorModel::attach() {
    attachedModel() = this;
}

void RuleEditorModel::detach() {
    if (attachedModel() == this)
        attachedModel() = nullptr;
}

} // namespace Vandra

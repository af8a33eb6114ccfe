#include "ui/editor/rulerowwidget.h"

#include "schedule/ruleeditormodel.h"
#include "schedule/scheduledhelper.h"
#include "support/localize.h"
#include "ui/common/icons.h"
#include "ui/editor/controlnames.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTimeEdit>
#include <QToolButton>

namespace Vandra {

namespace {

constexpr int numberFieldWidth = 64;

QString titleOf(const Criterion &criterion) {
    const RuleValue value = ScheduledHelper::shared().displayValue(criterion);
    if (const auto *title = std::get_if<QString>(&value))
        return *title;
    return criterion.name.value_or(QString());
}

// What a column of a row of each kind holds, for screen readers.
QString columnTitle(Scheduled::Kind kind, int column) {
    using K = Scheduled::Kind;
    switch (column) {
    case 0:
        return Localize::kind();
    case 1:
        switch (kind) {
        case K::repeatInterval:
            return Localize::text("unit");
        case K::everyHour:
            return Localize::Lowercase::minute();
        case K::everyDay:
            return Localize::text("time");
        case K::dayOfYear:
            return Localize::text("month");
        default:
            return Localize::text("day");
        }
    case 2:
        switch (kind) {
        case K::repeatInterval:
            return Localize::text("interval");
        case K::everyHour:
            return Localize::text("unit");
        case K::dayOfYear:
            return Localize::text("day");
        default:
            return Localize::text("time");
        }
    default:
        return Localize::text("time");
    }
}

} // namespace

RuleRowWidget::RuleRowWidget(RuleEditorModel &model, int row, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_row(row)
    , m_layout(new QHBoxLayout(this))
    , m_removeButton(named(new QToolButton(this), QStringLiteral("removeRuleButton"),
                           Localize::text("Remove rule %1").arg(Localize::integer(row + 1)))) {
    setObjectName(QStringLiteral("ruleRow%1").arg(row));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_removeButton->setIcon(Icons::themed(QStringLiteral("list-remove"), Icons::Style::symbolic));
    m_removeButton->setToolTip(Localize::remove());
    connect(m_removeButton, &QToolButton::clicked, this, [this] { m_model.removeRows(m_row, 1); });
    rebuild();
}

QString RuleRowWidget::controlName(int column) const {
    const auto kind = ScheduledHelper::kindOfPath(m_path);
    // "Rule 2 time": the row's number, then what the control holds.
    return Localize::text("Rule %1 %2")
        .arg(Localize::integer(m_row + 1),
             columnTitle(kind.value_or(Scheduled::Kind::repeatInterval), column));
}

void RuleRowWidget::rebuild() {
    // A menu of the row may be what changed the row: its widget goes once its signal is done.
    for (QWidget *control : std::as_const(m_controls)) {
        control->hide();
        control->setObjectName(QString());
        control->deleteLater();
    }
    m_controls.clear();
    if (m_row < 0 || m_row >= m_model.rows().size())
        return;
    const RuleRow &rule = m_model.rows().at(m_row);
    m_path = rule.path;
    const ScheduledHelper &helper = ScheduledHelper::shared();
    const QList<CriterionPtr> criteria =
        helper.criteriaForPath(m_path).value_or(QList<CriterionPtr>());
    const qsizetype columns = qMin(rule.values.size(), m_path.size());
    for (int column = 0; column < columns; ++column) {
        const Criterion *parent =
            column == 0 || column > criteria.size() ? nullptr : criteria.at(column - 1).get();
        const RuleValue &value = rule.values.at(column);
        QWidget *control = nullptr;
        if (std::holds_alternative<RuleTextField>(value)) {
            auto *field = new QLineEdit(this);
            field->setFixedWidth(numberFieldWidth);
            field->setAlignment(Qt::AlignRight);
            connect(field, &QLineEdit::textEdited, this, [this, column](const QString &text) {
                m_model.setValue(m_row, column, RuleTextField{text});
            });
            control = field;
        } else if (std::holds_alternative<QTime>(value)) {
            auto *picker = new QTimeEdit(this);
            picker->setDisplayFormat(QStringLiteral("HH:mm"));
            connect(picker, &QTimeEdit::timeChanged, this,
                    [this, column](QTime time) { m_model.setValue(m_row, column, time); });
            control = picker;
        } else if (helper.numberOfChildren(parent) > 1) {
            auto *menu = new QComboBox(this);
            for (qsizetype index = 0; index < helper.numberOfChildren(parent); ++index)
                menu->addItem(titleOf(*helper.child(index, parent)));
            connect(menu, &QComboBox::activated, this,
                    [this, column](int index) { m_model.chooseCriterion(m_row, column, index); });
            control = menu;
        } else {
            control = new QLabel(this);
        }
        named(control, QStringLiteral("ruleControl%1").arg(column), controlName(column));
        m_layout->insertWidget(column, control);
        m_controls.append(control);
    }
    m_layout->addStretch(1);
    m_layout->removeWidget(m_removeButton);
    m_layout->addWidget(m_removeButton);
    refresh();
}

void RuleRowWidget::refresh() {
    if (m_row < 0 || m_row >= m_model.rows().size())
        return;
    const RuleRow &rule = m_model.rows().at(m_row);
    if (rule.path != m_path) {
        // Stretches go with the controls they followed.
        while (QLayoutItem *item = m_layout->takeAt(0))
            delete item;
        m_layout->addWidget(m_removeButton);
        rebuild();
        return;
    }
    for (int column = 0; column < m_controls.size(); ++column) {
        QWidget *control = m_controls.at(column);
        const RuleValue &value = rule.values.at(column);
        const QSignalBlocker quiet(control);
        if (auto *field = qobject_cast<QLineEdit *>(control)) {
            const QString text = std::get<RuleTextField>(value).text;
            if (field->text() != text)
                field->setText(text);
        } else if (auto *picker = qobject_cast<QTimeEdit *>(control)) {
            picker->setTime(std::get<QTime>(value));
        } else if (auto *menu = qobject_cast<QComboBox *>(control)) {
            menu->setCurrentIndex(m_path.at(column));
        } else if (auto *label = qobject_cast<QLabel *>(control)) {
            label->setText(std::get<QString>(value));
        }
    }
}

} // namespace Vandra

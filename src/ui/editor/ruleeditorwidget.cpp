#include "ui/editor/ruleeditorwidget.h"

#include "model/scheduled.h"
#include "schedule/ruleeditormodel.h"
#include "support/localize.h"
#include "ui/common/icons.h"
#include "ui/editor/controlnames.h"
#include "ui/editor/rulerowwidget.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace Vandra {

RuleEditorWidget::RuleEditorWidget(RuleEditorModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_rowsLayout(new QVBoxLayout)
    , m_addButton(named(new QToolButton(this), QStringLiteral("addRuleButton"),
                        Localize::text("Add rule"))) {
    setObjectName(QStringLiteral("ruleEditor"));
    setAccessibleName(Localize::text("Schedule rules"));
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_addButton->setIcon(Icons::themed(QStringLiteral("list-add"), Icons::Style::symbolic));
    m_addButton->setToolTip(Localize::add());
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    buttons->addWidget(m_addButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_rowsLayout);
    layout->addLayout(buttons);
    layout->addStretch(1);

    connect(m_addButton, &QToolButton::clicked, this,
            [this] { m_model.addRow(Scheduled::Kind::repeatInterval); });
    connect(&m_model, &QAbstractItemModel::modelReset, this, &RuleEditorWidget::rebuild);
    connect(&m_model, &QAbstractItemModel::rowsInserted, this, &RuleEditorWidget::rebuild);
    connect(&m_model, &QAbstractItemModel::rowsRemoved, this, &RuleEditorWidget::rebuild);
    connect(&m_model, &QAbstractItemModel::rowsMoved, this, &RuleEditorWidget::rebuild);
    connect(&m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &first, const QModelIndex &last) {
                refreshRows(first.row(), last.row());
            });
    rebuild();
}

void RuleEditorWidget::rebuild() {
    // A removal comes from a row's own button: its widget goes once that click has ended.
    for (RuleRowWidget *row : std::as_const(m_rows)) {
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    for (int row = 0; row < m_model.rowCount(); ++row) {
        auto *widget = new RuleRowWidget(m_model, row, this);
        m_rowsLayout->addWidget(widget);
        m_rows.append(widget);
    }
}

void RuleEditorWidget::refreshRows(int first, int last) {
    for (int row = qMax(first, 0); row <= last && row < m_rows.size(); ++row)
        m_rows.at(row)->refresh();
}

} // namespace Vandra

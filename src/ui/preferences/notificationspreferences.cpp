#include "ui/preferences/notificationspreferences.h"

#include "store/exceptionscontroller.h"
#include "support/const.h"
#include "support/localize.h"
#include "support/notifications.h"
#include "support/text.h"
#include "ui/preferences/exceptionsmodel.h"
#include "ui/preferences/helpbutton.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace Vandra {

NotificationsPreferences::NotificationsPreferences(ExceptionsController &controller,
                                                   QWidget *parent)
    : QWidget(parent)
    , m_controller(controller)
    , m_model(new ExceptionsModel(controller, this))
    , m_runAgent(new QCheckBox(Localize::run(), this))
    , m_table(new QTableView(this)) {
    setObjectName(QStringLiteral("notificationsPreferences"));
    m_runAgent->setObjectName(QStringLiteral("runAgent"));
    m_runAgent->setAccessibleName(
        Text::bidirectionalString({Localize::agent(), Localize::run()}, Const::separator));
    connect(m_runAgent, &QCheckBox::clicked, this, [this] { m_controller.runAgent(); });
    connect(&Notifications::shared(), &Notifications::appStatusChanged, this,
            &NotificationsPreferences::showAgentState);
    showAgentState();

    m_table->setObjectName(QStringLiteral("exceptions"));
    m_table->setAccessibleName(Localize::notifications());
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(ExceptionsModel::enabled,
                                                      QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);

    auto *agentRow = new QHBoxLayout;
    auto *agentLabel = new QLabel(tr("Agent:"), this);
    agentLabel->setBuddy(m_runAgent);
    agentRow->addWidget(agentLabel);
    agentRow->addWidget(m_runAgent);
    agentRow->addStretch();
    auto *help = new QHBoxLayout;
    help->addStretch();
    help->addWidget(new HelpButton(QStringLiteral("preferencesnotifications"), this));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(agentRow);
    layout->addWidget(m_table);
    layout->addLayout(help);
}

void NotificationsPreferences::showEvent(QShowEvent *event) {
    m_controller.loadExceptions();
    QWidget::showEvent(event);
}

void NotificationsPreferences::showAgentState() {
    m_runAgent->setChecked(m_controller.isAgentRunning());
}

} // namespace Vandra

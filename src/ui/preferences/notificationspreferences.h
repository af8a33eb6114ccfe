#pragma once

#include <QWidget>

class QCheckBox;
class QTableView;

namespace Vandra {

class ExceptionsController;
class ExceptionsModel;

// The Notifications tab: switches the notification agent, and lets the user leave single
// jobs out of its notifications.
class NotificationsPreferences final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationsPreferences)

public:
    explicit NotificationsPreferences(ExceptionsController &controller, QWidget *parent = nullptr);

    [[nodiscard]] ExceptionsModel *model() const { return m_model; }

protected:
    // The exceptions file is read again each time the tab is shown: the agent's user may
    // have edited it.
    void showEvent(QShowEvent *event) override;

private:
    void showAgentState();

    ExceptionsController &m_controller;
    ExceptionsModel *m_model;
    QCheckBox *m_runAgent;
    QTableView *m_table;
};

} // namespace Vandra

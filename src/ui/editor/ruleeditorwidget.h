#pragma once

#include <QList>
#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace Vandra {

class RuleEditorModel;
class RuleRowWidget;

// The schedule's rule editor: a row of controls for each rule of the row model, and a
// button that adds a rule. The model holds the rules; this only shows and edits them.
class RuleEditorWidget final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RuleEditorWidget)

public:
    explicit RuleEditorWidget(RuleEditorModel &model, QWidget *parent = nullptr);

    [[nodiscard]] const QList<RuleRowWidget *> &rowWidgets() const { return m_rows; }

private:
    void rebuild();
    void refreshRows(int first, int last);

    RuleEditorModel &m_model;
    QVBoxLayout *m_rowsLayout;
    QList<RuleRowWidget *> m_rows;
    QToolButton *m_addButton;
};

} // namespace Vandra

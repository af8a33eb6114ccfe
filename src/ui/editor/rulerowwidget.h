#pragma once

#include <QList>
#include <QWidget>

class QHBoxLayout;
class QToolButton;

namespace Vandra {

class RuleEditorModel;

// One row of the schedule's rule editor: a menu or title for each level of the row's criteria
// path, a text field or time picker where the path holds one, and a button that removes the
// row. Every change goes to the row model.
class RuleRowWidget final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RuleRowWidget)

public:
    RuleRowWidget(RuleEditorModel &model, int row, QWidget *parent = nullptr);

    [[nodiscard]] int row() const { return m_row; }
    // The model's row changed: controls follow it, rebuilt only when its path changed, so
    // that a field being typed in keeps the focus.
    void refresh();

private:
    void rebuild();
    [[nodiscard]] QString controlName(int column) const;

    RuleEditorModel &m_model;
    int m_row;
    QList<int> m_path;
    QList<QWidget *> m_controls;
    QHBoxLayout *m_layout;
    QToolButton *m_removeButton;
};

} // namespace Vandra

#pragma once

#include <QAccessibleInterface>
#include <QPersistentModelIndex>

namespace Vandra {

class GridAccessible;

// A section heading or a job of the grid, for screen readers. A job's press action makes it
// the current job, through the view's selection like a click.
class GridItemAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    GridItemAccessible(GridAccessible *grid, const QModelIndex &index);

    [[nodiscard]] bool isValid() const override;
    [[nodiscard]] QObject *object() const override { return nullptr; }
    [[nodiscard]] QWindow *window() const override;
    [[nodiscard]] QAccessibleInterface *parent() const override;
    [[nodiscard]] QAccessibleInterface *child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    [[nodiscard]] QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QString text(QAccessible::Text type) const override;
    void setText(QAccessible::Text, const QString &) override {}
    [[nodiscard]] QRect rect() const override;
    [[nodiscard]] QAccessible::Role role() const override;
    [[nodiscard]] QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    [[nodiscard]] QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    [[nodiscard]] bool isSection() const { return !m_index.parent().isValid(); }

    GridAccessible *m_grid;
    QPersistentModelIndex m_index;
};

} // namespace Vandra

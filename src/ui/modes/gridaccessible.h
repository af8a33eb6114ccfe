#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>

namespace Vandra {

class GridView;

// What a screen reader meets in the grid: a list whose children are the section headings
// and, after each, its jobs, in the order they are drawn. A job can be read, focused and
// chosen through its press action, as with the keyboard.
class GridAccessible final : public QAccessibleWidget {
public:
    explicit GridAccessible(GridView *view);
    ~GridAccessible() override;

    // For QAccessible::installFactory: the interface of every GridView.
    static QAccessibleInterface *factory(const QString &className, QObject *object);

    [[nodiscard]] int childCount() const override;
    [[nodiscard]] QAccessibleInterface *child(int index) const override;
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override;
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override;

    [[nodiscard]] GridView *view() const;
    // The model index of the child at a position: sections and their jobs, flattened.
    [[nodiscard]] QModelIndex indexAt(int position) const;
    [[nodiscard]] int positionOf(const QModelIndex &index) const;

private:
    // Interfaces of the items, made when first asked for and dropped with their rows.
    mutable QHash<QPersistentModelIndex, QAccessible::Id> m_items;
};

} // namespace Vandra

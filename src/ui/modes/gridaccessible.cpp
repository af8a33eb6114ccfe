#include "ui/modes/gridaccessible.h"

#include "ui/modes/griditemaccessible.h"
#include "ui/modes/gridview.h"

namespace Vandra {

GridAccessible::GridAccessible(GridView *view)
    : QAccessibleWidget(view, QAccessible::List) {}

GridAccessible::~GridAccessible() {
    for (const QAccessible::Id id : std::as_const(m_items))
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface *GridAccessible::factory(const QString &className, QObject *object) {
    if (className == QLatin1String(GridView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new GridAccessible(static_cast<GridView *>(object));
    return nullptr;
}

GridView *GridAccessible::view() const {
    return static_cast<GridView *>(widget());
}

int GridAccessible::childCount() const {
    const QAbstractItemModel *model = view()->model();
    if (!model)
        return 0;
    int count = 0;
    for (int section = 0; section < model->rowCount(); ++section)
        count += 1 + model->rowCount(model->index(section, 0));
    return count;
}

QModelIndex GridAccessible::indexAt(int position) const {
    const QAbstractItemModel *model = view()->model();
    if (!model || position < 0)
        return {};
    for (int section = 0; section < model->rowCount(); ++section) {
        const QModelIndex heading = model->index(section, 0);
        if (position == 0)
            return heading;
        const int jobs = model->rowCount(heading);
        if (position <= jobs)
            return model->index(position - 1, 0, heading);
        position -= 1 + jobs;
    }
    return {};
}

int GridAccessible::positionOf(const QModelIndex &index) const {
    const QAbstractItemModel *model = view()->model();
    if (!model || !index.isValid() || index.model() != model)
        return -1;
    const QModelIndex heading = index.parent().isValid() ? index.parent() : index;
    int position = 0;
    for (int section = 0; section < heading.row(); ++section)
        position += 1 + model->rowCount(model->index(section, 0));
    return index.parent().isValid() ? position + 1 + index.row() : position;
}

QAccessibleInterface *GridAccessible::child(int index) const {
    const QModelIndex item = indexAt(index);
    if (!item.isValid())
        return nullptr;
    // Rows that went away leave their interfaces behind; drop them before looking up.
    for (auto entry = m_items.begin(); entry != m_items.end();) {
        if (entry.key().isValid()) {
            ++entry;
            continue;
        }
        QAccessible::deleteAccessibleInterface(entry.value());
        entry = m_items.erase(entry);
    }
    const auto found = m_items.constFind(QPersistentModelIndex(item));
    if (found != m_items.cend())
        return QAccessible::accessibleInterface(found.value());
    auto *created = new GridItemAccessible(const_cast<GridAccessible *>(this), item);
    m_items.insert(QPersistentModelIndex(item), QAccessible::registerAccessibleInterface(created));
    return created;
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const {
    for (auto entry = m_items.cbegin(); entry != m_items.cend(); ++entry) {
        if (QAccessible::accessibleInterface(entry.value()) == child)
            return positionOf(entry.key());
    }
    return -1;
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const {
    const QPoint point = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const int position = positionOf(view()->indexAt(point));
    return position >= 0 ? child(position) : nullptr;
}

} // namespace Vandra

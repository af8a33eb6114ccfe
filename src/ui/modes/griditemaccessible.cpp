#include "ui/modes/griditemaccessible.h"

#include "ui/modes/gridaccessible.h"
#include "ui/modes/gridview.h"

#include <QWidget>

namespace Vandra {

GridItemAccessible::GridItemAccessible(GridAccessible *grid, const QModelIndex &index)
    : m_grid(grid)
    , m_index(index) {}

bool GridItemAccessible::isValid() const {
    return m_index.isValid();
}

QWindow *GridItemAccessible::window() const {
    return m_grid->window();
}

QAccessibleInterface *GridItemAccessible::parent() const {
    return m_grid;
}

QString GridItemAccessible::text(QAccessible::Text type) const {
    if (!m_index.isValid())
        return {};
    switch (type) {
    case QAccessible::Name: {
        const QString spoken = m_index.data(Qt::AccessibleTextRole).toString();
        return spoken.isEmpty() ? m_index.data(Qt::DisplayRole).toString() : spoken;
    }
    case QAccessible::Description:
        return isSection() ? QString() : m_index.data(Qt::ToolTipRole).toString();
    default:
        return {};
    }
}

QRect GridItemAccessible::rect() const {
    GridView *view = m_grid->view();
    const QRect local = view->visualRect(m_index);
    if (!m_index.isValid() || local.isEmpty())
        return {};
    return QRect(view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role GridItemAccessible::role() const {
    return isSection() ? QAccessible::Heading : QAccessible::ListItem;
}

QAccessible::State GridItemAccessible::state() const {
    QAccessible::State state;
    if (!m_index.isValid()) {
        state.invalid = true;
        return state;
    }
    GridView *view = m_grid->view();
    const QRect visible = view->viewport()->rect();
    state.invisible = !view->isVisible() || !visible.intersects(view->visualRect(m_index));
    state.offscreen = state.invisible;
    if (isSection())
        return state;
    state.selectable = true;
    state.focusable = true;
    const QItemSelectionModel *selection = view->selectionModel();
    state.selected = selection && selection->isSelected(m_index);
    state.focused = view->hasFocus() && view->currentIndex() == m_index;
    return state;
}

void *GridItemAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface && !isSection())
        return static_cast<QAccessibleActionInterface *>(this);
    return nullptr;
}

QStringList GridItemAccessible::actionNames() const {
    return isSection() ? QStringList() : QStringList{pressAction(), setFocusAction()};
}

void GridItemAccessible::doAction(const QString &actionName) {
    if (!m_index.isValid() || isSection())
        return;
    GridView *view = m_grid->view();
    if (actionName == setFocusAction()) {
        view->setFocus(Qt::OtherFocusReason);
        view->selectionModel()->setCurrentIndex(m_index, QItemSelectionModel::NoUpdate);
    } else if (actionName == pressAction()) {
        // Through the selection, as a click: the view's gate may keep the current job.
        view->setCurrentIndex(m_index);
        view->scrollTo(m_index);
    }
}

} // namespace Vandra

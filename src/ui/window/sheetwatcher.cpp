#include "ui/window/sheetwatcher.h"

#include <QChildEvent>
#include <QWidget>

namespace Vandra {

SheetWatcher::SheetWatcher(QWidget &window)
    : QObject(&window)
    , m_window(window) {
    for (QObject *child : window.children())
        child->installEventFilter(this);
    window.installEventFilter(this);
}

bool SheetWatcher::hasSheet() const {
    for (const QObject *child : m_window.children()) {
        if (!child->isWidgetType())
            continue;
        const auto *widget = static_cast<const QWidget *>(child);
        if (widget->isWindow() && widget->isVisible() && widget->windowModality() != Qt::NonModal)
            return true;
    }
    return false;
}

bool SheetWatcher::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &m_window) {
        // A new child is not built yet; its showing and hiding tell whether it is a sheet.
        if (event->type() == QEvent::ChildAdded)
            static_cast<QChildEvent *>(event)->child()->installEventFilter(this);
        else if (event->type() == QEvent::ChildRemoved)
            recheck();
    } else if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
        recheck();
        // Once more when the change is complete, should the event come before it.
        QMetaObject::invokeMethod(this, &SheetWatcher::recheck, Qt::QueuedConnection);
    }
    return false;
}

void SheetWatcher::recheck() {
    const bool has = hasSheet();
    if (has == m_hasSheet)
        return;
    m_hasSheet = has;
    Q_EMIT sheetChanged(has);
}

} // namespace Vandra

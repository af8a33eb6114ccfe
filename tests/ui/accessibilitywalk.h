#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

namespace Vandra {

// What a screen reader meets: every control a user can operate below a widget, and those
// among them that have no accessible name (neither their own, nor their text, nor a buddy
// label's). Qt's own inner parts (a combo box's list, scroll bars, a tab bar's scroll
// buttons) are left out: Qt names them itself, and a tab bar is read by its tabs' titles.
namespace AccessibilityWalk {

inline bool isControl(const QWidget *widget) {
    return qobject_cast<const QAbstractButton *>(widget) ||
           qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QAbstractItemView *>(widget) ||
           qobject_cast<const QTextEdit *>(widget) ||
           qobject_cast<const QPlainTextEdit *>(widget) ||
           (qobject_cast<const QAbstractSlider *>(widget) &&
            !qobject_cast<const QScrollBar *>(widget)) ||
           widget->inherits("QsciScintilla");
}

inline bool isInnerPartOfQt(const QWidget *widget) {
    if (widget->objectName().startsWith(QLatin1String("qt_")))
        return true;
    for (const QWidget *up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractSpinBox *>(up) ||
            qobject_cast<const QTabBar *>(up) || qobject_cast<const QLineEdit *>(up) ||
            up->inherits("QsciScintilla") || up->objectName().startsWith(QLatin1String("qt_")))
            return true;
    }
    return false;
}

// "ClassName objectName" of each unnamed control below root, root included.
inline QStringList unnamedControls(QWidget *root) {
    QStringList unnamed;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : std::as_const(widgets)) {
        // A hidden control is not met; the pages that hide it are walked one by one.
        if (!isControl(widget) || isInnerPartOfQt(widget) ||
            (widget != root && !widget->isVisibleTo(root)))
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        const QString name = accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
        if (name.isEmpty())
            unnamed.append(QString::fromLatin1(widget->metaObject()->className()) +
                           QLatin1Char(' ') + widget->objectName());
    }
    return unnamed;
}

} // namespace AccessibilityWalk

} // namespace Vandra

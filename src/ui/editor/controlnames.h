#pragma once

#include <QString>
#include <QWidget>

namespace Vandra {

// Every control of the editor has an object name for tests and an accessible name for screen
// readers; made in one step so that neither is forgotten.
template <typename Control>
Control *named(Control *control, const QString &objectName, const QString &accessibleName) {
    control->setObjectName(objectName);
    control->setAccessibleName(accessibleName);
    return control;
}

} // namespace Vandra

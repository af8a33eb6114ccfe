#include "ui/sheets/sheetdialog.h"

#include "support/const.h"
#include "support/defaults.h"
#include "support/text.h"

#include <QPushButton>

namespace Vandra {

SheetDialog::SheetDialog(const QString &name, const QString &title, QWidget *parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setAccessibleName(title);
    setWindowModality(Qt::WindowModal);
}

void SheetDialog::rememberFrame(const QString &frameName) {
    m_frameName = frameName;
}

QString SheetDialog::frameKey() const {
    return QStringLiteral("frames/") + m_frameName;
}

void SheetDialog::showEvent(QShowEvent *event) {
    // Once per sheet: later shows keep where the user has put it meanwhile.
    if (!m_frameName.isEmpty() && !m_isFrameRestored) {
        m_isFrameRestored = true;
        const QByteArray frame = Defaults::shared().value(frameKey()).toByteArray();
        if (!frame.isEmpty())
            restoreGeometry(frame);
    }
    QDialog::showEvent(event);
}

void SheetDialog::hideEvent(QHideEvent *event) {
    if (!m_frameName.isEmpty())
        Defaults::shared().setValue(frameKey(), saveGeometry());
    QDialog::hideEvent(event);
}

QPushButton *SheetDialog::button(const QString &name, const QString &title) {
    auto *pushButton = new QPushButton(title, this);
    SheetDialog::name(pushButton, name, title);
    pushButton->setAutoDefault(false);
    return pushButton;
}

void SheetDialog::name(QWidget *widget, const QString &objectName, const QString &accessibleName) {
    widget->setObjectName(objectName);
    widget->setAccessibleName(accessibleName);
}

QString SheetDialog::jobTitle(const QString &title, const JobPtr &job) {
    return job && !job->label.isEmpty()
               ? Text::bidirectionalString({title, job->label}, Const::separator)
               : title;
}

} // namespace Vandra

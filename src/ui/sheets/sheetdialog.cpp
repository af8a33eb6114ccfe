#include "ui/sheets/sheetdialog.h"

#include "support/const.h"
#include "support/text.h"

#include <QPushButton>

SheetDialog::SheetDialog(const QString &name, const QString &title, QWidget *parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    setAccessibleName(title);
    setWindowModality(Qt::WindowModal);
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

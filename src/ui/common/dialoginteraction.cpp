#include "ui/common/dialoginteraction.h"

#include "support/defaults.h"
#include "support/localize.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace Vandra {

namespace {

QString nameFilter(const QStringList &suffixes) {
    if (suffixes.isEmpty())
        return {};
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns.append(QStringLiteral("*.") + suffix);
    return patterns.join(QLatin1Char(' '));
}

} // namespace

int DialogInteraction::alert(const AlertRequest &request) {
    QMessageBox box(m_window);
    box.setWindowModality(m_window ? Qt::WindowModal : Qt::ApplicationModal);
    box.setIcon(request.isCritical ? QMessageBox::Critical : QMessageBox::Information);
    box.setText(request.message);
    box.setInformativeText(request.informativeText);
    const QStringList titles =
        request.buttons.isEmpty() ? QStringList{Localize::ok()} : request.buttons;
    QList<QAbstractButton *> buttons;
    for (const QString &title : titles)
        buttons.append(box.addButton(title, QMessageBox::AcceptRole));
    box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    // Escape, and closing the alert without a choice, take its Cancel button where it has one;
    // the first button may be the one that deletes.
    const qsizetype cancel = titles.indexOf(Localize::cancel());
    if (cancel >= 0)
        box.setEscapeButton(buttons.at(cancel));
    QCheckBox *suppress = nullptr;
    if (!request.suppressionKey.isEmpty()) {
        suppress = new QCheckBox(Localize::text("Do not ask again"), &box);
        box.setCheckBox(suppress);
    }
    box.exec();
    if (suppress && suppress->isChecked())
        Defaults::shared().setValue(request.suppressionKey, true);
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    if (chosen >= 0)
        return int(chosen);
    return cancel >= 0 ? int(cancel) : firstButton;
}

std::optional<QString> DialogInteraction::savePanel(const FilePanelRequest &request) {
    QFileDialog dialog(m_window, request.title, request.directory,
                       nameFilter(request.allowedSuffixes));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::ReadOnly, !request.canCreateFolders);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> DialogInteraction::openPanel(const FilePanelRequest &request) {
    QFileDialog dialog(m_window, request.title, request.directory,
                       nameFilter(request.allowedSuffixes));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void DialogInteraction::beep() {
    QApplication::beep();
}

} // namespace Vandra

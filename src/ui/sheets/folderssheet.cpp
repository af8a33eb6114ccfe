#include "ui/sheets/folderssheet.h"

#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"
#include "ui/common/icons.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace Vandra {

FoldersSheet::FoldersSheet(FoldersController &controller, QWidget *parent)
    : SheetDialog(QStringLiteral("foldersSheet"), tr("Extra Folders"), parent)
    , m_controller(controller)
    , m_list(new QListWidget(this))
    , m_addButton(button(QStringLiteral("addButton"), Localize::add()))
    , m_removeButton(button(QStringLiteral("removeButton"), Localize::remove())) {
    rememberFrame(QStringLiteral("Folders Sheet"));
    const QString description = tr("Add the folders from where your jobs are linked:");
    auto *label = new QLabel(description, this);
    name(label, QStringLiteral("foldersDescription"), description);
    label->setWordWrap(true);
    name(m_list, QStringLiteral("foldersList"), tr("Extra folders"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    QPushButton *doneButton = button(QStringLiteral("doneButton"), Localize::done());
    doneButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_removeButton);
    buttons->addStretch();
    buttons->addWidget(doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(520, 320);

    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_addButton, &QPushButton::clicked, this, &FoldersSheet::chooseFolder);
    connect(m_removeButton, &QPushButton::clicked, this, &FoldersSheet::removeSelected);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &FoldersSheet::selectionChanged);
    reload();
}

QString FoldersSheet::rowText(const QString &path, bool isMissing) {
    const QString shown = Text::shortenHomeFolder(path);
    return isMissing ? tr("%1 (missing)").arg(shown) : shown;
}

void FoldersSheet::reload() {
    m_list->clear();
    for (const Folder &folder : m_controller.folders()) {
        const bool isMissing = FoldersController::isMissing(folder);
        const QString text = rowText(folder.secureURL.path(), isMissing);
        auto *item = new QListWidgetItem(
            Icons::themed(isMissing ? FoldersController::missingIcon : folder.icon,
                          Icons::Style::fullColour),
            text, m_list);
        item->setToolTip(isMissing ? tr("%1 is not there any more. Jobs linked from it cannot "
                                        "be read until it is back.")
                                         .arg(folder.secureURL.path())
                                   : text);
        item->setData(Qt::AccessibleTextRole, text);
    }
    selectionChanged();
}

void FoldersSheet::chooseFolder() {
    if (m_chooser)
        return;
    // Not the static chooser: its nested event loop would wait on the window's thread.
    m_chooser = new QFileDialog(this, tr("Choose a Folder"), Locations::shared().home());
    m_chooser->setObjectName(QStringLiteral("folderChooser"));
    m_chooser->setFileMode(QFileDialog::Directory);
    m_chooser->setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
    m_chooser->setWindowModality(Qt::WindowModal);
    m_chooser->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_chooser, &QFileDialog::fileSelected, this, &FoldersSheet::addFolder);
    m_chooser->open();
}

void FoldersSheet::addFolder(const QString &path) {
    if (path.isEmpty())
        return;
    m_controller.add(path);
    reload();
    JobDiscovery::reloadJobsLater();
    Q_EMIT foldersEdited();
}

void FoldersSheet::removeSelected() {
    const int row = m_list->currentRow();
    if (row < 0 || m_list->selectedItems().isEmpty())
        return;
    m_controller.removeAt(row);
    reload();
    JobDiscovery::reloadJobsLater();
    Q_EMIT foldersEdited();
}

void FoldersSheet::selectionChanged() {
    m_removeButton->setEnabled(!m_list->selectedItems().isEmpty());
}

} // namespace Vandra

#pragma once

#include "ui/sheets/sheetdialog.h"

#include <QFileDialog>
#include <QPointer>

class QListWidget;
class QPushButton;

namespace Vandra {

class FoldersController;

// The user's extra folders, from which jobs in the launchd folders are linked: a list with
// Add and Remove. A folder that is gone stays listed, marked missing, until the user removes
// it. Each change rebuilds the job list.
class FoldersSheet final : public SheetDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FoldersSheet)

public:
    explicit FoldersSheet(FoldersController &controller, QWidget *parent = nullptr);

    // The folder chooser that Add opened, while it is open.
    [[nodiscard]] QFileDialog *folderChooser() const { return m_chooser; }

    // The text of a row: the folder's path, with the home folder shortened, and whether it
    // is missing.
    [[nodiscard]] static QString rowText(const QString &path, bool isMissing);

Q_SIGNALS:
    // The list changed; the job list has been rebuilt.
    void foldersEdited();

private:
    void reload();
    void chooseFolder();
    void addFolder(const QString &path);
    void removeSelected();
    void selectionChanged();

    FoldersController &m_controller;
    QListWidget *m_list;
    QPushButton *m_addButton;
    QPushButton *m_removeButton;
    QPointer<QFileDialog> m_chooser;
};

} // namespace Vandra

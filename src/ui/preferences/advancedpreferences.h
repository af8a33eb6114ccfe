#pragma once

#include "actions/action.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace Vandra {

class ActionController;
class Defaults;
class FoldersController;

// The Advanced tab: the program's own helper jobs, uninstalling its helpers, and the
// user's extra folders.
class AdvancedPreferences final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AdvancedPreferences)

public:
    AdvancedPreferences(Defaults &defaults, ActionController *actions, FoldersController &folders,
                        std::function<void()> editFolders, QWidget *parent = nullptr);

private:
    void toggleInternalHelpers();
    void uninstallHelpers();
    void showFolders();

    Defaults &m_defaults;
    ActionController *m_actions;
    FoldersController &m_folders;
    std::function<void()> m_editFolders;
    // The controller holds a request only weakly: it lives here until the next one.
    ActionPtr m_uninstall;
    QCheckBox *m_showInternalHelpers;
    QPushButton *m_uninstallButton;
    QPushButton *m_foldersButton;
    QLabel *m_folderList;
};

} // namespace Vandra

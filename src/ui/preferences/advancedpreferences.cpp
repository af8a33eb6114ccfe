#include "ui/preferences/advancedpreferences.h"

#include "actions/actioncontroller.h"
#include "store/folderscontroller.h"
#include "store/jobdiscovery.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/preferences/helpbutton.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Vandra {

AdvancedPreferences::AdvancedPreferences(Defaults &defaults, ActionController *actions,
                                         FoldersController &folders,
                                         std::function<void()> editFolders, QWidget *parent)
    : QWidget(parent)
    , m_defaults(defaults)
    , m_actions(actions)
    , m_folders(folders)
    , m_editFolders(std::move(editFolders))
    , m_showInternalHelpers(new QCheckBox(tr("Show Vandra's internal helper jobs"), this))
    , m_uninstallButton(new QPushButton(tr("Uninstall Helpers"), this))
    , m_foldersButton(new QPushButton(tr("Extra Folders…"), this))
    , m_folderList(new QLabel(this)) {
    setObjectName(QStringLiteral("advancedPreferences"));
    m_showInternalHelpers->setObjectName(UserDefaultsKeys::showInternalHelpers);
    m_showInternalHelpers->setAccessibleName(m_showInternalHelpers->text());
    m_showInternalHelpers->setChecked(m_defaults.showInternalHelpers());
    connect(m_showInternalHelpers, &QCheckBox::clicked, this,
            &AdvancedPreferences::toggleInternalHelpers);

    m_uninstallButton->setObjectName(QStringLiteral("uninstallHelpers"));
    m_uninstallButton->setAccessibleName(m_uninstallButton->text());
    m_uninstallButton->setEnabled(m_actions != nullptr);
    connect(m_uninstallButton, &QPushButton::clicked, this, &AdvancedPreferences::uninstallHelpers);

    m_foldersButton->setObjectName(QStringLiteral("extraFolders"));
    m_foldersButton->setAccessibleName(tr("Extra Folders"));
    m_foldersButton->setEnabled(bool(m_editFolders));
    connect(m_foldersButton, &QPushButton::clicked, this, [this] { m_editFolders(); });
    m_folderList->setObjectName(QStringLiteral("folderList"));
    m_folderList->setWordWrap(true);
    m_folderList->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_folderList->setTextFormat(Qt::PlainText);
    connect(&m_folders, &FoldersController::foldersChanged, this,
            &AdvancedPreferences::showFolders);
    showFolders();

    auto *foldersRow = new QHBoxLayout;
    foldersRow->addWidget(m_foldersButton, 0, Qt::AlignTop);
    foldersRow->addWidget(m_folderList, 1);
    auto *help = new QHBoxLayout;
    help->addStretch();
    help->addWidget(new HelpButton(QStringLiteral("preferencesadvanced"), this));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_showInternalHelpers);
    layout->addWidget(m_uninstallButton, 0, Qt::AlignLeft);
    layout->addLayout(foldersRow);
    layout->addStretch();
    layout->addLayout(help);
}

void AdvancedPreferences::toggleInternalHelpers() {
    m_defaults.negate(UserDefaultsKeys::showInternalHelpers);
    m_showInternalHelpers->setChecked(m_defaults.showInternalHelpers());
    JobDiscovery::reloadJobsLater();
}

void AdvancedPreferences::uninstallHelpers() {
    m_uninstall = Action::make(Action::Kind::uninstallHelpers);
    m_uninstall->presentError = false;
    m_uninstall->cleanUp = false;
    // Only the privileged helper removes helpers.
    m_actions->sendPrivileged(m_uninstall);
}

void AdvancedPreferences::showFolders() {
    QStringList paths;
    for (const Folder &folder : m_folders.folders())
        paths.append(folder.secureURL.path());
    m_folderList->setText(paths.isEmpty() ? tr("No extra folders.") : paths.join(u'\n'));
}

} // namespace Vandra

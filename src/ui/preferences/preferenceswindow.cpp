#include "ui/preferences/preferenceswindow.h"

#include "support/defaults.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/preferences/advancedpreferences.h"
#include "ui/preferences/generalpreferences.h"
#include "ui/preferences/notificationspreferences.h"
#include "ui/preferences/themespreferences.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace Vandra {

PreferencesWindow::PreferencesWindow(Defaults &defaults, ExceptionsController &exceptions,
                                     ActionController *actions, FoldersController &folders,
                                     CodeTheme &theme, std::function<void()> editFolders,
                                     QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_defaults(defaults)
    , m_tabs(new QTabWidget(this)) {
    setObjectName(QStringLiteral("preferences"));
    setWindowTitle(tr("Preferences"));
    setAccessibleName(tr("Preferences"));
    m_tabs->setObjectName(QStringLiteral("preferencesTabs"));
    m_tabs->setAccessibleName(tr("Preferences"));
    m_tabs->addTab(new GeneralPreferences(defaults, m_tabs), tr("General"));
    m_tabs->addTab(new NotificationsPreferences(exceptions, m_tabs), Localize::notifications());
    m_tabs->addTab(
        new AdvancedPreferences(defaults, actions, folders, std::move(editFolders), m_tabs),
        tr("Advanced"));
    m_tabs->addTab(new ThemesPreferences(defaults, theme, m_tabs), tr("Themes"));
    const int stored = m_defaults.preferencesTab();
    m_tabs->setCurrentIndex(stored >= 0 && stored < m_tabs->count() ? stored : Tab::general);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        m_defaults.setValueSoon(UserDefaultsKeys::preferencesTab, index);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
}

} // namespace Vandra

#include "ui/preferences/themespreferences.h"

#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/preferences/helpbutton.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace Vandra {

ThemesPreferences::ThemesPreferences(Defaults &defaults, CodeTheme &theme, QWidget *parent)
    : QWidget(parent)
    , m_defaults(defaults)
    , m_theme(theme)
    , m_themes(new QComboBox(this)) {
    setObjectName(QStringLiteral("themesPreferences"));
    m_themes->setObjectName(QStringLiteral("theme"));
    m_themes->setAccessibleName(tr("Colour theme"));
    // The item data is the theme's position, or followsDesktop.
    m_themes->addItem(tr("Follow the desktop"), CodeTheme::followsDesktop);
    const QList<CodeTheme::Colours> &themes = CodeTheme::themes();
    for (int id = 0; id < themes.size(); ++id)
        m_themes->addItem(themes.at(id).name, id);
    m_themes->setCurrentIndex(qMax(0, m_themes->findData(m_theme.chosen())));
    connect(m_themes, &QComboBox::activated, this, &ThemesPreferences::choose);
    connect(&m_theme, &CodeTheme::changed, this,
            [this] { m_themes->setCurrentIndex(qMax(0, m_themes->findData(m_theme.chosen()))); });

    auto *note = new QLabel(
        tr("The colours of the property-list text, the log and the script windows. Every open "
           "window changes at once."),
        this);
    note->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(tr("Theme:"), m_themes);
    form->addRow(note);
    auto *help = new QHBoxLayout;
    help->addStretch();
    help->addWidget(new HelpButton(QStringLiteral("preferencesthemes"), this));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(help);
}

void ThemesPreferences::restore(const Defaults &defaults, CodeTheme &theme) {
    if (defaults.hasManuallyChangedTheme())
        theme.choose(int(defaults.integerValue(UserDefaultsKeys::currentTheme)));
}

void ThemesPreferences::choose(int index) {
    const int id = m_themes->itemData(index).toInt();
    const bool isChosen = id != CodeTheme::followsDesktop;
    m_defaults.setValue(UserDefaultsKeys::hasManuallyChangedTheme, isChosen);
    m_defaults.setValue(UserDefaultsKeys::currentTheme, isChosen ? QVariant(id) : QVariant());
    m_theme.choose(id);
}

} // namespace Vandra

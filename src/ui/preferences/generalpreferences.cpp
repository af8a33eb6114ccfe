#include "ui/preferences/generalpreferences.h"

#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/preferences/helpbutton.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace Vandra {

namespace {

constexpr int mostRevisions = 100;

// A check box that shows a Boolean setting and negates it when clicked.
QCheckBox *settingBox(Defaults &defaults, const QString &key, const QString &text,
                      QWidget *parent) {
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(key);
    box->setAccessibleName(text);
    box->setChecked(defaults.boolValue(key));
    QObject::connect(box, &QCheckBox::clicked, parent, [&defaults, key, box] {
        defaults.negate(key);
        box->setChecked(defaults.boolValue(key));
    });
    return box;
}

} // namespace

GeneralPreferences::GeneralPreferences(Defaults &defaults, QWidget *parent)
    : QWidget(parent)
    , m_defaults(defaults)
    , m_automaticHelp(settingBox(defaults, UserDefaultsKeys::automaticHelp,
                                 tr("Help with the command while typing"), this))
    , m_automaticPATH(settingBox(defaults, UserDefaultsKeys::automaticPATH,
                                 tr("Add the search path (PATH) to new jobs automatically"), this))
    , m_revisions(new QSpinBox(this)) {
    setObjectName(QStringLiteral("generalPreferences"));
    m_revisions->setObjectName(UserDefaultsKeys::numberOfSavedRevisions);
    m_revisions->setAccessibleName(tr("Saved revisions"));
    m_revisions->setRange(0, mostRevisions);
    m_revisions->setValue(m_defaults.numberOfSavedRevisions());
    connect(m_revisions, &QSpinBox::valueChanged, this, [this](int value) {
        m_defaults.setValue(UserDefaultsKeys::numberOfSavedRevisions, value);
    });

    auto *form = new QFormLayout;
    form->addRow(m_automaticHelp);
    form->addRow(m_automaticPATH);
    form->addRow(tr("Saved revisions:"), m_revisions);
    auto *help = new QHBoxLayout;
    help->addStretch();
    help->addWidget(new HelpButton(QStringLiteral("preferencesgeneral"), this));
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(help);
}

} // namespace Vandra

#include "ui/preferences/helpbutton.h"

#include "ui/common/helppage.h"

#include <QIcon>
#include <QUrl>

namespace Vandra {

HelpButton::HelpButton(const QString &fragment, QWidget *parent)
    : QPushButton(parent) {
    setObjectName(QStringLiteral("help"));
    setIcon(QIcon::fromTheme(QStringLiteral("help-browser")));
    if (icon().isNull())
        setText(QStringLiteral("?"));
    setToolTip(tr("Help"));
    setAccessibleName(tr("Help"));
    connect(this, &QPushButton::clicked, this, [fragment] { HelpPage::open(fragment); });
}

QUrl HelpButton::pageUrl(const QString &fragment) {
    return HelpPage::url(fragment);
}

} // namespace Vandra

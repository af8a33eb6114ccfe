#include "ui/preferences/helpbutton.h"

#include "support/const.h"

#include <QDesktopServices>
#include <QIcon>
#include <QUrl>

HelpButton::HelpButton(const QString &fragment, QWidget *parent)
    : QPushButton(parent) {
    setObjectName(QStringLiteral("help"));
    setIcon(QIcon::fromTheme(QStringLiteral("help-browser")));
    if (icon().isNull())
        setText(QStringLiteral("?"));
    setToolTip(tr("Help"));
    setAccessibleName(tr("Help"));
    connect(this, &QPushButton::clicked, this,
            [fragment] { QDesktopServices::openUrl(pageUrl(fragment)); });
}

QUrl HelpButton::pageUrl(const QString &fragment) {
    QUrl url(Const::siteURL + QStringLiteral("vandra"));
    url.setFragment(fragment);
    return url;
}

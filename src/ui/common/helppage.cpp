#include "ui/common/helppage.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace Vandra {

namespace {

const QString pageName = QStringLiteral("index.html");

QString helpFolder() {
    const QString beside = QCoreApplication::applicationDirPath();
    const QStringList candidates = {beside + QStringLiteral("/../share/vandra/help"),
                                    beside + QStringLiteral("/../share/help"),
                                    QStringLiteral(VANDRA_SOURCE_HELP)};
    for (const QString &candidate : candidates) {
        if (QFileInfo::exists(candidate + u'/' + pageName))
            return QDir::cleanPath(candidate);
    }
    return QStringLiteral(VANDRA_SOURCE_HELP);
}

} // namespace

namespace HelpPage {

QUrl url(const QString &fragment) {
    QUrl page = QUrl::fromLocalFile(helpFolder() + u'/' + pageName);
    if (!fragment.isEmpty())
        page.setFragment(fragment);
    return page;
}

bool open(const QString &fragment) {
    return QDesktopServices::openUrl(url(fragment));
}

} // namespace HelpPage

} // namespace Vandra

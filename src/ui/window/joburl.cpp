#include "ui/window/joburl.h"

#include "support/const.h"
#include "support/text.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace Vandra {

namespace JobUrl {

QString make(const QString &path) {
    const QByteArray encoded =
        path.toUtf8().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    return Const::Product::jobScheme + QStringLiteral("://") + QString::fromLatin1(encoded);
}

std::optional<QString> path(const QString &url) {
    const QString prefix = Const::Product::jobScheme + QStringLiteral("://");
    const QString text = url.trimmed();
    if (!text.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    QString host = text.mid(prefix.size());
    const qsizetype end = host.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (end >= 0)
        host.truncate(end);
    // Base64 has no "%", so percent signs can only come from a program that escaped "=".
    host = QUrl::fromPercentEncoding(host.toUtf8());

    // A host ends at the first slash; some programs add one at the end. Standard Base64 can
    // hold slashes too, so the whole text is tried first.
    QStringList candidates = {host};
    if (host.endsWith(QLatin1Char('/')))
        candidates.append(host.chopped(1));
    if (const qsizetype slash = host.indexOf(QLatin1Char('/')); slash > 0)
        candidates.append(host.left(slash));
    for (const QString &candidate : std::as_const(candidates)) {
        const std::optional<QString> decoded = Text::fromBase64(candidate);
        if (decoded && decoded->startsWith(QLatin1Char('/')))
            return QDir::cleanPath(*decoded);
    }
    return std::nullopt;
}

} // namespace JobUrl

} // namespace Vandra

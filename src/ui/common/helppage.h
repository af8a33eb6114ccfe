#pragma once

#include <QString>
#include <QUrl>

namespace Vandra {

// The program's own help page, shipped with it and opened in the desktop's browser.
namespace HelpPage {

// The page at a section, such as "settings"; an empty fragment opens its top.
[[nodiscard]] QUrl url(const QString &fragment = QString());
// Opens the page; false when the desktop has nothing to open it with.
bool open(const QString &fragment = QString());

} // namespace HelpPage

} // namespace Vandra

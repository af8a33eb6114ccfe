#pragma once

#include <QStringList>

namespace Vandra {

// Whether the desktop has a program for mailto: links, as the freedesktop MIME application
// lists and their caches record it. Without one, offering to send something by e-mail would
// lead nowhere.
namespace MailHandler {

// In the user's and the machine's lists, as XDG_CONFIG_HOME, XDG_CONFIG_DIRS, XDG_DATA_HOME
// and XDG_DATA_DIRS name them.
[[nodiscard]] bool isSet();
// In the lists of these folders: mimeapps.list files in the configuration folders, and
// those, defaults.list and mimeinfo.cache in the applications folder of the data folders.
[[nodiscard]] bool isSetIn(const QStringList &configFolders, const QStringList &dataFolders);

} // namespace MailHandler

} // namespace Vandra

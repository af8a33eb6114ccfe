#pragma once

#include "support/secureurl.h"

#include <QString>

namespace Vandra {

// An extra folder of the user's, from which jobs in the launchd folders are linked: its
// lasting grant of access and its icon (a theme icon name).
struct Folder {
    SecureURL secureURL;
    QString icon;

    friend bool operator==(const Folder &, const Folder &) = default;
};

} // namespace Vandra

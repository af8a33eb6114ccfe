#pragma once

#include <QString>

namespace Vandra {

// The versions of the libraries the program runs with, for the About box.
namespace LibraryVersions {

// The ICU library loaded, such as "72.1".
[[nodiscard]] QString icu();

} // namespace LibraryVersions

} // namespace Vandra

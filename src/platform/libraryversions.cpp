#include "platform/libraryversions.h"

#include <unicode/uversion.h>

namespace Vandra {

namespace LibraryVersions {

QString icu() {
    UVersionInfo version;
    u_getVersion(version);
    char text[U_MAX_VERSION_STRING_LENGTH] = {};
    u_versionToString(version, text);
    return QString::fromLatin1(text);
}

} // namespace LibraryVersions

} // namespace Vandra

#pragma once

#include "platform/plistcodec.h"

#include <QString>

namespace Vandra {

namespace PlistFile {

// Reads the property list at path, following links. Job and state files are small; this
// reads them by their size, where the codec's reader sets aside room for the largest file
// it accepts on every call, which is slow when a helper reads files for every request.
[[nodiscard]] PlistReadResult read(const QString &path);

} // namespace PlistFile

} // namespace Vandra

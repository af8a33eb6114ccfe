#pragma once

#include "platform/plistcodec.h"

#include <QByteArray>

namespace Vandra {

// Reads Apple's XML property-list text.
//
// Ours rather than libplist's: libplist 2.2 gives no message for what it refuses and takes
// much without a word that it should refuse ("abc" as the integer 0, bad base64 as empty data,
// a dictionary key without a value dropped, invalid UTF-8 kept). This reader refuses every
// such input with the line and column. Integers outside -2^63 to 2^64 - 1 are refused
// rather than wrapped; of keys given twice in a dictionary the last value wins.
namespace XmlPlistReader {

[[nodiscard]] PlistReadResult read(const QByteArray &bytes);
// The bytes with the prolog launchd accepts made plain XML: whitespace and comments before
// the declaration moved after it, and a DOCTYPE without an internal subset blanked out. Lines stay
// where they were.
[[nodiscard]] QByteArray withPlainProlog(const QByteArray &bytes);

} // namespace XmlPlistReader

} // namespace Vandra

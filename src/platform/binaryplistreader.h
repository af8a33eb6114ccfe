#pragma once

#include "platform/plistcodec.h"

#include <QByteArray>

namespace Vandra {

// Reads binary property lists ("bplist00") in one walk of the object table from the top
// object: each object is checked and converted once, after its children, and a shared object
// is converted once and shared, so reading is linear in the input. The walk refuses cycles,
// nesting deeper than PlistCodec::maximumDepth, shared references that expand to more than
// 16 values per byte of input, unpaired surrogates, NUL characters, non-ASCII bytes in ASCII
// strings, integers outside -2^63 to 2^64 - 1, keyed-archive UIDs outside the signed 64-bit
// range, dates outside the years 1 to 9999 and object types a property list cannot hold
// (null, sets); every refusal comes with a message.
//
// A keyed-archive UID reads as the dictionary {"CF$UID" = n}, the form Apple's XML writer
// gives it. Of keys given twice in a dictionary the last value wins.
namespace BinaryPlistReader {

[[nodiscard]] PlistReadResult read(const QByteArray &bytes);

} // namespace BinaryPlistReader

} // namespace Vandra

#pragma once

#include "platform/plistcodec.h"

#include <QByteArray>

// Reads binary property lists ("bplist00") with libplist, behind a check of our own.
//
// libplist 2.2 recurses once per nesting level and follows shared references anew each
// time, so a few hundred kilobytes of nested arrays overflow the stack and forty arrays
// that each hold the next one twice never finish. It also returns an empty text for
// UTF-16 with a lone surrogate, reads 16-byte integers as their low 64 bits, and gives
// dates as 32-bit seconds. The check walks the object table first (each object once) and
// refuses cycles, nesting deeper than PlistCodec::maximumDepth, shared references that
// expand to more than 16 values per byte of input, unpaired surrogates, NUL characters,
// non-ASCII bytes in ASCII strings, integers and keyed-archive UIDs outside the signed
// 64-bit range, and object types a property list cannot hold (null, sets). Only input that
// passes reaches libplist, and every refusal comes with a message.
//
// A keyed-archive UID reads as the dictionary {"CF$UID" = n}, the form Apple's XML writer
// gives it. Of keys given twice in a dictionary the last value wins.
namespace BinaryPlistReader {

[[nodiscard]] PlistReadResult read(const QByteArray &bytes);

} // namespace BinaryPlistReader

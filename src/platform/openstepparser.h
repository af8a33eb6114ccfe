#pragma once

#include "platform/plistcodec.h"

#include <QByteArray>

namespace Vandra {

// Reads old-style (OpenStep) text property lists, which libplist 2.2 cannot:
//
//     { Label = com.example.job; ProgramArguments = ( /bin/echo, "hello world" );
//       Data = <0fbd 7711>; }
//
// Values are text, data, arrays and dictionaries; there are no numbers or Booleans, so
// "YES" stays the text "YES". Quoted text knows the C escapes, octal escapes and \Uxxxx;
// comments (// and /* */) count as white space. A top level of "key = value;" pairs without
// braces is a dictionary, as in strings files. GNUstep's typed values are read too: <*I12>
// integer, <*R1.5> real, <*BY> and <*BN> Boolean, <*D2024-05-06 07:08:09 +0000> date, and
// <[base64]> data. The text is UTF-8, or UTF-16 with a byte-order mark.
namespace OpenStepParser {

[[nodiscard]] PlistReadResult parse(const QByteArray &bytes);

} // namespace OpenStepParser

} // namespace Vandra

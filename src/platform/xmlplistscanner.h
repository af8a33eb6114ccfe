#pragma once

#include "platform/plistvalue.h"

#include <QByteArrayView>

#include <optional>

namespace Vandra {

// Reads the plain form of XML property lists straight from the bytes: UTF-8 with or without
// the usual declaration and doctype, comments between elements, the predefined entities and
// character references. Nearly every property list is written that way, and reading it here
// takes a fraction of the time that QXmlStreamReader's tokens and copies do.
//
// Anything beyond that form (another encoding, CDATA, processing instructions, an internal
// subset, a carriage return in text, rarely used characters) and every error are left to
// XmlPlistReader, which reads all of XML and says what is wrong. What this takes, both read
// alike; the tests hold the two to that.
namespace XmlPlistScanner {

// None when the text is not in the plain form or not a valid property list.
[[nodiscard]] std::optional<PlistValue> read(QByteArrayView bytes);

} // namespace XmlPlistScanner

} // namespace Vandra

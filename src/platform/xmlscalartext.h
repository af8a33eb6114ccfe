#pragma once

#include "platform/plistvalue.h"

#include <QByteArrayView>

#include <optional>

namespace Vandra {

// The text of XML property-list scalars, shared by both XML readers so that they agree on
// every number. The text is ASCII; surrounding whitespace is ignored.
namespace XmlScalarText {

// Decimal or "0x" hexadecimal, with an optional sign, from -2^63 to 2^64 - 1 (launchd's
// files hold unsigned 64-bit values too); none outside that range.
[[nodiscard]] std::optional<PlistValue> parseInteger(QByteArrayView text);
// The shortest form that reads back exactly, as std::from_chars takes it; a leading '+' too.
[[nodiscard]] std::optional<double> parseReal(QByteArrayView text);

} // namespace XmlScalarText

} // namespace Vandra

#pragma once

#include <QByteArrayView>

#include <optional>

// The text of XML property-list scalars, shared by both XML readers so that they agree on
// every number. The text is ASCII; surrounding whitespace is ignored.
namespace XmlScalarText {

// Decimal or "0x" hexadecimal, with an optional sign; none outside the signed 64-bit range.
[[nodiscard]] std::optional<qint64> parseInteger(QByteArrayView text);
// The shortest form that reads back exactly, as std::from_chars takes it; a leading '+' too.
[[nodiscard]] std::optional<double> parseReal(QByteArrayView text);

} // namespace XmlScalarText

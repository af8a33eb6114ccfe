#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// Writes Apple's XML property-list text: UTF-8, tab-indented, dictionary keys in their order.
//
// Ours rather than libplist's: libplist 2.2 writes reals with 17 digits instead of the
// shortest text that reads back exactly, cannot hold dates outside 1933-2069 (its date
// setter takes 32-bit seconds) and cuts text at a NUL character without a word.
namespace XmlPlistWriter {

// None, with a message naming where, when a value cannot be written: a none value, an invalid
// date or one outside the years 1-9999, or text with a character that XML 1.0 cannot carry.
[[nodiscard]] std::optional<QByteArray> write(const PlistValue &value, QString *error = nullptr);

} // namespace XmlPlistWriter

} // namespace Vandra

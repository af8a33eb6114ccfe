#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Writes binary property lists with libplist.
//
// libplist 2.2 takes text as NUL-terminated UTF-8 and dates as 32-bit seconds since 2001, so
// text holding a NUL character or a lone surrogate, and dates outside 1933-2069, are refused
// with a message rather than cut or wrapped; the XML writer takes such dates.
namespace BinaryPlistWriter {

[[nodiscard]] std::optional<QByteArray> write(const PlistValue &value, QString *error = nullptr);

} // namespace BinaryPlistWriter

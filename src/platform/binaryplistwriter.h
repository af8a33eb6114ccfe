#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// Writes binary property lists ("bplist00"): every value one object, integers up to
// 2^64 - 1 and dates from year 1 to 9999. Text holding a NUL character or a lone surrogate is
// refused with a message, as our reader would refuse it.
namespace BinaryPlistWriter {

[[nodiscard]] std::optional<QByteArray> write(const PlistValue &value, QString *error = nullptr);

} // namespace BinaryPlistWriter

} // namespace Vandra

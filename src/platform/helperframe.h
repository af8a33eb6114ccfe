#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// The helpers' wire format: each message is a 4-byte unsigned big-endian length followed by
// that many bytes of a property-list dictionary, binary or XML.
namespace HelperFrame {

// Bodies longer than this are refused by both ends.
inline constexpr quint32 maximumLength = 16 * 1024 * 1024;
inline constexpr int headerLength = 4;

// The complete frame (header and binary body) of a dictionary; none when the dictionary
// cannot be written or is longer than the limit.
[[nodiscard]] std::optional<QByteArray> encode(const PlistDict &dict, QString *error = nullptr);
// The header and body of a ready body.
[[nodiscard]] QByteArray frame(const QByteArray &body);

struct Decoded {
    std::optional<PlistDict> dict;
    QString error;
};

// The dictionary of a frame's body; an error when the body is not a property list or not a
// dictionary.
[[nodiscard]] Decoded decode(const QByteArray &body);

} // namespace HelperFrame

} // namespace Vandra

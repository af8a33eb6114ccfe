#pragma once

#include "plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

enum class PlistFormat { Xml, Binary, OpenStep };

// The outcome of reading a property list: a value, or a message saying what is wrong.
struct PlistReadResult {
    std::optional<PlistValue> value;
    PlistFormat format = PlistFormat::Xml;
    QString error;

    [[nodiscard]] bool ok() const { return value.has_value(); }
};

// Reads and writes property lists. Reading accepts XML, binary and old-style OpenStep text
// and never crashes on bad input; writing produces XML text in UTF-8.
//
// What every reader does alike: integers from -2^63 to 2^64 - 1 are read, others refused,
// not wrapped; of keys given twice in a dictionary the last value wins, at the first key's
// place; a keyed-archive UID reads as the dictionary {"CF$UID" = n}; text must be valid
// Unicode. XML dates hold whole seconds, binary ones milliseconds.
namespace PlistCodec {

// Values nested deeper than this are refused by every reader and writer, so that no input
// can exhaust the stack.
inline constexpr int maximumDepth = 512;
// Larger files are refused by readFile().
inline constexpr qint64 maximumFileSize = 64 * 1024 * 1024;

[[nodiscard]] PlistReadResult read(const QByteArray &bytes);
// Follows symbolic links.
[[nodiscard]] PlistReadResult readFile(const QString &path);
// The same for the entry name of the folder open as the descriptor folder, without looking
// the folder up again for each of many files; path names the file in messages. The bytes
// are read into buffer, which a caller reading many files passes each time, so that it
// grows to the largest of them once instead of being allocated for every file.
[[nodiscard]] PlistReadResult readFileAt(int folder, const char *name, const QString &path,
                                         QByteArray &buffer);
// The XML text of a value; none (with a message) when the value cannot be written,
// for example when it holds a none value.
[[nodiscard]] std::optional<QByteArray> toXml(const PlistValue &value, QString *error = nullptr);
[[nodiscard]] std::optional<QByteArray> toBinary(const PlistValue &value, QString *error = nullptr);
// Writes bytes to path atomically, mode 0644 (see AtomicFile); false with a message when
// anything fails, and then the file at path is as it was.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace PlistCodec

} // namespace Vandra

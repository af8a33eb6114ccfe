#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// The program's own files (notes, revisions, exceptions) are read once and rewritten whole.
// One that is there but cannot be used is moved aside before it would be replaced, so that
// what it holds is still on disk for the user.
namespace OwnFiles {

// Whether anything is at path: a file, a folder, or a link to one of them.
[[nodiscard]] bool isPresent(const QString &path);
// Renames what is at path to the first free name of "path.bak", "path.bak2", ... True when
// nothing is left at path.
bool setAside(const QString &path);
// Replaces the file at path with bytes atomically, making its folder first. False, with the
// reason in the process log, when anything fails; then the old file is as it was.
bool write(const QString &path, const QByteArray &bytes);
// The bytes of value as a property list: XML, or the binary form when XML cannot carry a
// text of it (a control character in a note or a path), since every reader takes both.
[[nodiscard]] std::optional<QByteArray> encode(const PlistValue &value);

} // namespace OwnFiles

} // namespace Vandra

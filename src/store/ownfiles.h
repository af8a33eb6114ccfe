#pragma once

#include "platform/plistvalue.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The program's own files (notes, revisions, exceptions) are read once and rewritten whole.
// One that is there but cannot be used is moved aside before it would be replaced, so that
// what it holds is still on disk for the user.
namespace OwnFiles {

// Whether anything is at path: a file, a folder, or a link to one of them.
[[nodiscard]] bool isPresent(const QString &path);
// Renames what is at path to the first free name of "path.bak", "path.bak2", ... True when
// nothing is left at path.
bool setAside(const QString &path);
// The bytes of value as a property list: XML, or the binary form when XML cannot carry a
// text of it (a control character in a note or a path), since every reader takes both.
[[nodiscard]] std::optional<QByteArray> encode(const PlistValue &value);

} // namespace OwnFiles

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Text helpers of the Run field, paths and scripts.
namespace Text {

// Splits a command line into program arguments: words end at unquoted spaces (and tabs);
// a double- or single-quoted stretch and a backslash-escaped character belong to the word,
// and the quoting is dropped. Undoes the Run text composed from a job's arguments.
[[nodiscard]] QStringList separateCommand(const QString &command);
// The text made safe to stand as one word of a command line: unchanged when it needs no
// quoting, otherwise quoted so that separateCommand gives it back as one word.
[[nodiscard]] QString quote(const QString &text);
// An encoding name (IANA) for bytes, or none when nothing fits well enough.
[[nodiscard]] std::optional<QString> guessEncoding(const QByteArray &bytes);
// Decodes Base64 (standard or URL alphabet, padding optional) as UTF-8; none when the
// input is not valid Base64 or not UTF-8.
[[nodiscard]] std::optional<QString> fromBase64(const QString &base64);
// The home folder of the locations written as "~".
[[nodiscard]] QString shortenHomeFolder(const QString &text);
// The text after the last slash ("/usr/bin/tool" gives "tool", "a/" gives "a").
[[nodiscard]] QString lastPathComponent(const QString &path);
// Joins texts in the reading direction of the user's language.
[[nodiscard]] QString bidirectionalString(const QStringList &parts, const QString &separator);

} // namespace Text

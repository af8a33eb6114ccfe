#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// Text helpers of the Run field, paths and scripts.
namespace Text {

// Splits a command line into program arguments, undoing joinCommand:
// - words end at spaces; tabs and other white space belong to the word;
// - a double or single quote at the start of a word opens a quoted word, which ends at the
//   next same quote followed by a space or the end of the text; inside, nothing is escaped,
//   and the quotes are dropped ("" and '' give an empty argument). A quote that never
//   closes, or one inside a word, is an ordinary character;
// - outside quotes, backslashes before a space or at the end of the text stand in pairs for
//   one backslash, and an odd one before a space escapes it; an odd run before a quote that
//   starts a word makes that quote ordinary; any other backslash stays.
// Blanks alone give no word.
[[nodiscard]] QStringList separateCommand(const QString &command);
// The text made safe to stand as one word of a command line: unchanged when it is not
// empty, holds no space, does not start with a quote (after backslashes) and does not end
// with a backslash; otherwise wrapped in double quotes, or single quotes, whichever it never
// has before a space; failing both, written as one word with escaped spaces. separateCommand
// gives every text back as one word.
[[nodiscard]] QString quote(const QString &text);
// The words as one command line that separateCommand splits back into the same words.
[[nodiscard]] QString joinCommand(const QStringList &words);
// An encoding name (IANA) for bytes, or none for no bytes or when nothing fits well
// enough. Text that is valid UTF-8 (plain ASCII too) gives "UTF-8".
[[nodiscard]] std::optional<QString> guessEncoding(const QByteArray &bytes);
// ICU's most likely encoding for bytes of unknown origin, when it is at least
// minimumConfidence sure (0 to 100); none for no bytes.
[[nodiscard]] std::optional<QString> detectEncoding(const QByteArray &bytes,
                                                    int minimumConfidence = 0);
// Decodes Base64 (standard or URL alphabet, not mixed; padding optional but correct when
// given) as UTF-8; none for any other character, a bad length or bytes that are not UTF-8.
[[nodiscard]] std::optional<QString> fromBase64(const QString &base64);
// Writes the home folder of the locations as "~" wherever a path in the text starts with
// it ("/home/anna/x" and "PATH=/home/anna/bin", not "/home/annabel" or "/srv/home/anna").
[[nodiscard]] QString shortenHomeFolder(const QString &text);
// The text after the last slash ("/usr/bin/tool" gives "tool", "a/" gives "a", "/" gives
// "/").
[[nodiscard]] QString lastPathComponent(const QString &path);
// Joins texts in the reading direction of the user's language: in order for left-to-right
// languages, last first for right-to-left ones.
[[nodiscard]] QString bidirectionalString(const QStringList &parts, const QString &separator);

} // namespace Text

} // namespace Vandra

#pragma once

#include "platform/textencoding.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// A script's text with the encoding it was read in, and written back in.
struct ScriptText {
    QString text;
    TextEncoding encoding = TextEncoding::utf8();
};

// What the user is told when a script cannot be read or written.
struct ScriptFileError {
    QString message;
    QString informativeText;
};

// Reading and writing script files, keeping each file's text encoding.
class ScriptFile final {
public:
    ScriptFile() = delete;

    struct ReadResult {
        std::optional<ScriptText> script;
        ScriptFileError error;
    };

    // The text of the file at path, decoded by the first encoding that fits: its byte-order
    // mark, its stored encoding attribute, ICU's most likely guess, the support library's
    // guess, UTF-8, the locale's encoding, then Latin-1.
    [[nodiscard]] static ReadResult read(const QString &path);
    // The same chain on bytes already read; attribute is the stored encoding, if any. Bytes
    // that decode to text with NUL characters are not text in that encoding.
    [[nodiscard]] static std::optional<ScriptText>
    decode(const QByteArray &bytes, const std::optional<QByteArray> &attribute);

    // Writes text in encoding in one step, then stores the encoding beside the file (where
    // the file system can). A text the encoding cannot hold leaves the file as it was.
    // None on success.
    [[nodiscard]] static std::optional<ScriptFileError>
    write(const QString &path, const QString &text, const TextEncoding &encoding);
};

} // namespace Vandra

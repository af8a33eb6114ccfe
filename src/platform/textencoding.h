#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace Vandra {

// A character encoding that text files are read in and written back in, by its IANA name,
// converting through ICU. Conversions are strict: bytes the encoding does not define, and
// characters it cannot hold, make them fail rather than turn into replacement characters,
// so a file is never silently changed by reading and writing it back.
class TextEncoding final {
public:
    [[nodiscard]] static TextEncoding utf8();
    // An encoding ICU knows by that name (IANA names and ICU's aliases); none otherwise.
    [[nodiscard]] static std::optional<TextEncoding> named(const QString &name,
                                                           bool hasByteOrderMark = false);
    // The Unicode encoding whose byte-order mark starts bytes; none without one.
    [[nodiscard]] static std::optional<TextEncoding> fromByteOrderMark(const QByteArray &bytes);
    // The encoding an attribute value names ("windows-1252;2252"); the number is informative.
    [[nodiscard]] static std::optional<TextEncoding> fromAttributeValue(const QByteArray &value);
    // The encoding of the process's locale.
    [[nodiscard]] static TextEncoding system();

    [[nodiscard]] const QString &name() const { return m_name; }
    // Files read with a byte-order mark are written with one.
    [[nodiscard]] bool hasByteOrderMark() const { return m_hasByteOrderMark; }
    // The encoding's IANA MIBenum; 2 ("unknown") for encodings without one.
    [[nodiscard]] int mibEnum() const;
    // "name;number", the stored form of the encoding.
    [[nodiscard]] QByteArray attributeValue() const;

    // The text of bytes; none when they are not valid in this encoding. A byte-order mark
    // of this encoding at the start is skipped.
    [[nodiscard]] std::optional<QString> decode(const QByteArray &bytes) const;
    // The bytes of text, with a byte-order mark when the encoding has one; none when the text
    // holds a character the encoding cannot.
    [[nodiscard]] std::optional<QByteArray> encode(const QString &text) const;
    // The first character of text that this encoding cannot hold; none when it holds all.
    [[nodiscard]] std::optional<QString> firstUnencodable(const QString &text) const;

    bool operator==(const TextEncoding &other) const = default;

private:
    TextEncoding(QString name, bool hasByteOrderMark)
        : m_name(std::move(name))
        , m_hasByteOrderMark(hasByteOrderMark) {}
    [[nodiscard]] QByteArray byteOrderMark() const;

    QString m_name;
    bool m_hasByteOrderMark = false;
};

} // namespace Vandra

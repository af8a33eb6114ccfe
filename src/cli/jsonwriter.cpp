#include "cli/jsonwriter.h"

#include <QChar>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace Vandra {

namespace {

// The most bytes one UTF-16 unit or Latin-1 character can take: a control character as \u00XX.
constexpr qsizetype maxBytesPerUnit = 6;

// Longer than the 20 characters of the smallest qint64 and the largest quint64.
constexpr qsizetype maxIntegerBytes = 24;

// Longer than the longest shortest round-trip double, such as -2.2250738585072014e-308.
constexpr qsizetype maxDoubleBytes = 32;

inline bool isPlainAscii(char16_t c) {
    return c >= 0x20 && c < 0x80 && c != u'"' && c != u'\\';
}

char *escapeAscii(char *out, char16_t c) {
    static constexpr char hexDigits[] = "0123456789abcdef";
    *out++ = '\\';
    switch (c) {
    case u'"':
        *out++ = '"';
        break;
    case u'\\':
        *out++ = '\\';
        break;
    case u'\b':
        *out++ = 'b';
        break;
    case u'\f':
        *out++ = 'f';
        break;
    case u'\n':
        *out++ = 'n';
        break;
    case u'\r':
        *out++ = 'r';
        break;
    case u'\t':
        *out++ = 't';
        break;
    default:
        *out++ = 'u';
        *out++ = '0';
        *out++ = '0';
        *out++ = hexDigits[c >> 4];
        *out++ = hexDigits[c & 0xf];
    }
    return out;
}

char *twoByteUtf8(char *out, char16_t c) {
    *out++ = char(0xc0 | (c >> 6));
    *out++ = char(0x80 | (c & 0x3f));
    return out;
}

} // namespace

JsonWriter::JsonWriter(Layout layout)
    : m_isIndented(layout == Layout::indented) {}

void JsonWriter::beginObject() {
    beginContainer('{', true);
}

void JsonWriter::endObject() {
    endContainer('}', true);
}

void JsonWriter::beginArray() {
    beginContainer('[', false);
}

void JsonWriter::endArray() {
    endContainer(']', false);
}

void JsonWriter::key(QLatin1StringView name) {
    beginKey();
    writeString(name);
    endKey();
}

void JsonWriter::key(QStringView name) {
    beginKey();
    writeString(name);
    endKey();
}

void JsonWriter::value(QStringView text) {
    beforeValue();
    writeString(text);
    afterValue();
}

void JsonWriter::value(QLatin1StringView text) {
    beforeValue();
    writeString(text);
    afterValue();
}

void JsonWriter::value(bool isTrue) {
    beforeValue();
    m_out.append(isTrue ? QByteArrayView("true") : QByteArrayView("false"));
    afterValue();
}

void JsonWriter::value(double number) {
    beforeValue();
    if (std::isfinite(number)) {
        char *out = claim(maxDoubleBytes);
        commit(std::to_chars(out, out + maxDoubleBytes, number).ptr);
    } else {
        m_out.append(QByteArrayView("null"));
    }
    afterValue();
}

void JsonWriter::value(std::nullptr_t) {
    beforeValue();
    m_out.append(QByteArrayView("null"));
    afterValue();
}

void JsonWriter::writeInteger(qint64 number) {
    beforeValue();
    char *out = claim(maxIntegerBytes);
    commit(std::to_chars(out, out + maxIntegerBytes, number).ptr);
    afterValue();
}

void JsonWriter::writeUnsigned(quint64 number) {
    beforeValue();
    char *out = claim(maxIntegerBytes);
    commit(std::to_chars(out, out + maxIntegerBytes, number).ptr);
    afterValue();
}

void JsonWriter::beginKey() {
    Q_ASSERT(!m_levels.isEmpty() && m_levels.back().isObject && !m_isAfterKey);
    newItem();
}

void JsonWriter::endKey() {
    m_out.append(m_isIndented ? QByteArrayView(": ") : QByteArrayView(":"));
    m_isAfterKey = true;
}

void JsonWriter::beforeValue() {
    if (m_isAfterKey) {
        m_isAfterKey = false;
        return;
    }
    if (!m_levels.isEmpty()) {
        Q_ASSERT(!m_levels.back().isObject);
        newItem();
    }
}

void JsonWriter::afterValue() {
    if (m_levels.isEmpty() && m_isIndented)
        m_out.append('\n');
}

void JsonWriter::beginContainer(char open, bool isObject) {
    beforeValue();
    m_out.append(open);
    if (m_isIndented)
        m_out.append('\n');
    m_levels.append(Level{isObject, false});
}

void JsonWriter::endContainer(char close, bool isObject) {
    Q_ASSERT(!m_levels.isEmpty() && m_levels.back().isObject == isObject && !m_isAfterKey);
    const bool hadItems = m_levels.back().hasItems;
    m_levels.removeLast();
    if (m_isIndented) {
        if (hadItems)
            m_out.append('\n');
        indent(m_levels.size());
    }
    m_out.append(close);
    afterValue();
}

void JsonWriter::newItem() {
    Level &level = m_levels.back();
    if (level.hasItems)
        m_out.append(m_isIndented ? QByteArrayView(",\n") : QByteArrayView(","));
    level.hasItems = true;
    if (m_isIndented)
        indent(m_levels.size());
}

void JsonWriter::indent(qsizetype depth) {
    const qsizetype width = 4 * depth;
    char *out = claim(width);
    std::memset(out, ' ', size_t(width));
    commit(out + width);
}

void JsonWriter::writeString(QStringView text) {
    char *out = claim(text.size() * maxBytesPerUnit + 2);
    *out++ = '"';
    const char16_t *in = text.utf16();
    const char16_t *const end = in + text.size();
    while (in != end) {
        const char16_t c = *in++;
        if (isPlainAscii(c)) {
            *out++ = char(c);
        } else if (c < 0x80) {
            out = escapeAscii(out, c);
        } else if (c < 0x800) {
            out = twoByteUtf8(out, c);
        } else if (!QChar::isSurrogate(c)) {
            *out++ = char(0xe0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        } else if (QChar::isHighSurrogate(c) && in != end && QChar::isLowSurrogate(*in)) {
            const char32_t u = QChar::surrogateToUcs4(c, *in++);
            *out++ = char(0xf0 | (u >> 18));
            *out++ = char(0x80 | ((u >> 12) & 0x3f));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        } else {
            // A lone surrogate has no UTF-8 form; U+FFFD keeps the output readable by every
            // parser, where an escaped \ud800 is refused by the strict ones.
            *out++ = char(0xef);
            *out++ = char(0xbf);
            *out++ = char(0xbd);
        }
    }
    *out++ = '"';
    commit(out);
}

void JsonWriter::writeString(QLatin1StringView text) {
    char *out = claim(text.size() * maxBytesPerUnit + 2);
    *out++ = '"';
    for (const char byte : text) {
        const auto c = char16_t(uchar(byte));
        if (isPlainAscii(c))
            *out++ = byte;
        else if (c < 0x80)
            out = escapeAscii(out, c);
        else
            out = twoByteUtf8(out, c);
    }
    *out++ = '"';
    commit(out);
}

char *JsonWriter::claim(qsizetype extra) {
    const qsizetype used = m_out.size();
    if (used + extra > m_out.capacity())
        m_out.reserve(std::max(2 * m_out.capacity(), used + extra));
    m_out.resize(used + extra);
    return m_out.data() + used;
}

void JsonWriter::commit(const char *end) {
    m_out.truncate(end - m_out.constData());
}

} // namespace Vandra

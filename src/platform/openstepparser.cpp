#include "platform/openstepparser.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringDecoder>

namespace Vandra {

namespace OpenStepParser {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

bool isUnquotedCharacter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
           u == u'_' || u == u'$' || u == u'/' || u == u':' || u == u'.' || u == u'-';
}

// Escapes (\0, \U) can spell text that the other formats refuse and no writer takes.
bool isValidText(const QString &text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            return false;
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// "2024-05-06 07:08:09 +0200", by hand: QDateTime::fromString() costs more than the rest
// of a typical file.
std::optional<QDateTime> gnustepDate(QStringView text) {
    static constexpr char pattern[] = "dddd-dd-dd dd:dd:dd sdddd";
    if (text.size() != qsizetype(sizeof pattern) - 1)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool matches = pattern[i] == 'd'   ? c >= u'0' && c <= u'9'
                             : pattern[i] == 's' ? c == u'+' || c == u'-'
                                                 : c == char16_t(pattern[i]);
        if (!matches)
            return std::nullopt;
    }
    const auto number = [text](qsizetype pos, qsizetype length) {
        int value = 0;
        for (qsizetype i = pos; i < pos + length; ++i)
            value = value * 10 + (text[i].unicode() - u'0');
        return value;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    const int offsetMinutes = number(21, 2) * 60 + number(23, 2);
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59 || number(23, 2) > 59)
        return std::nullopt;
    const int offset = offsetMinutes * 60 * (text[20] == u'-' ? -1 : 1);
    return QDateTime(date, QTime(hour, minute, second), Qt::UTC).addSecs(-offset);
}

class Parser {
public:
    explicit Parser(QStringView text)
        : m_text(text) {}

    PlistReadResult run();

private:
    [[nodiscard]] bool atEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    bool fail(const QString &message, qsizetype at = -1) {
        if (m_error.isEmpty()) {
            m_error = message;
            m_errorPos = at < 0 ? m_pos : at;
        }
        return false;
    }
    // Past white space and comments; false for a comment that never ends.
    bool skipSpace();
    std::optional<PlistValue> value(int depth);
    std::optional<QString> string();
    std::optional<QString> quoted();
    // The entries up to the closing brace, or up to the end of the text when isBare.
    std::optional<PlistValue> dictionary(int depth, bool isBare);
    std::optional<PlistValue> array(int depth);
    std::optional<PlistValue> angled();
    std::optional<PlistValue> typed(QStringView contents);

    QStringView m_text;
    qsizetype m_pos = 0;
    QString m_error;
    qsizetype m_errorPos = 0;
};

bool Parser::skipSpace() {
    while (!atEnd()) {
        const QChar c = m_text[m_pos];
        if (c.isSpace()) {
            ++m_pos;
        } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'/') {
            while (!atEnd() && m_text[m_pos] != u'\n')
                ++m_pos;
        } else if (c == u'/' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == u'*') {
            const qsizetype end = m_text.indexOf(u"*/", m_pos + 2);
            if (end < 0)
                return fail(Text::tr("the comment starting here never ends"));
            m_pos = end + 2;
        } else {
            break;
        }
    }
    return true;
}

std::optional<QString> Parser::quoted() {
    const qsizetype start = m_pos;
    const QChar quote = m_text[m_pos++];
    QString text;
    for (;;) {
        const qsizetype run = m_pos;
        while (!atEnd() && m_text[m_pos] != quote && m_text[m_pos] != u'\\')
            ++m_pos;
        text += m_text.sliced(run, m_pos - run);
        if (atEnd()) {
            fail(Text::tr("the quoted text starting here never ends"), start);
            return std::nullopt;
        }
        if (m_text[m_pos++] == quote) {
            if (!isValidText(text)) {
                fail(Text::tr("the quoted text starting here holds a NUL character or an "
                              "unpaired surrogate"),
                     start);
                return std::nullopt;
            }
            return text;
        }
        if (atEnd()) {
            fail(Text::tr("the quoted text starting here never ends"), start);
            return std::nullopt;
        }
        const QChar escaped = m_text[m_pos++];
        switch (escaped.unicode()) {
        case u'a':
            text += QChar(u'\a');
            break;
        case u'b':
            text += QChar(u'\b');
            break;
        case u'f':
            text += QChar(u'\f');
            break;
        case u'n':
            text += QChar(u'\n');
            break;
        case u'r':
            text += QChar(u'\r');
            break;
        case u't':
            text += QChar(u'\t');
            break;
        case u'v':
            text += QChar(u'\v');
            break;
        case u'U':
        case u'u': {
            char16_t unit = 0;
            int count = 0;
            for (; count < 4 && !atEnd() && hexValue(m_text[m_pos]) >= 0; ++count)
                unit = char16_t(unit * 16 + hexValue(m_text[m_pos++]));
            if (count == 0) {
                fail(Text::tr("\\U must be followed by hexadecimal digits"));
                return std::nullopt;
            }
            text += QChar(unit);
            break;
        }
        default:
            if (escaped >= u'0' && escaped <= u'7') {
                int code = escaped.unicode() - u'0';
                for (int count = 1;
                     count < 3 && !atEnd() && m_text[m_pos] >= u'0' && m_text[m_pos] <= u'7';
                     ++count)
                    code = code * 8 + (m_text[m_pos++].unicode() - u'0');
                text += QChar(char16_t(code));
            } else {
                // \\, \", \' and any other character stand for themselves.
                text += escaped;
            }
        }
    }
}

std::optional<QString> Parser::string() {
    const QChar c = peek();
    if (c == u'"' || c == u'\'')
        return quoted();
    const qsizetype start = m_pos;
    while (!atEnd() && isUnquotedCharacter(m_text[m_pos]))
        ++m_pos;
    if (m_pos == start) {
        if (atEnd())
            fail(Text::tr("expected text, found the end of the text"));
        else
            fail(Text::tr("unexpected character “%1”").arg(c));
        return std::nullopt;
    }
    return m_text.sliced(start, m_pos - start).toString();
}

std::optional<PlistValue> Parser::dictionary(int depth, bool isBare) {
    QList<PlistDict::Entry> entries;
    for (;;) {
        if (!skipSpace())
            return std::nullopt;
        if (isBare ? atEnd() : peek() == u'}') {
            if (!isBare)
                ++m_pos;
            break;
        }
        if (atEnd()) {
            fail(Text::tr("the dictionary has no closing “}”"));
            return std::nullopt;
        }
        std::optional<QString> key = string();
        if (!key)
            return std::nullopt;
        if (!skipSpace())
            return std::nullopt;
        if (peek() != u'=') {
            fail(Text::tr("expected “=” after the key “%1”").arg(*key));
            return std::nullopt;
        }
        ++m_pos;
        std::optional<PlistValue> item = value(depth + 1);
        if (!item || !skipSpace())
            return std::nullopt;
        if (peek() != u';') {
            fail(Text::tr("expected “;” after the value of “%1”").arg(*key));
            return std::nullopt;
        }
        ++m_pos;
        entries.append(PlistDict::Entry(std::move(*key), std::move(*item)));
    }
    return PlistValue(PlistDict::fromEntries(std::move(entries)));
}

std::optional<PlistValue> Parser::array(int depth) {
    ++m_pos;
    PlistArray items;
    if (!skipSpace())
        return std::nullopt;
    if (peek() == u')') {
        ++m_pos;
        return PlistValue(items);
    }
    for (;;) {
        std::optional<PlistValue> item = value(depth + 1);
        if (!item || !skipSpace())
            return std::nullopt;
        items.append(std::move(*item));
        if (peek() == u')') {
            ++m_pos;
            return PlistValue(items);
        }
        if (peek() != u',') {
            fail(atEnd() ? Text::tr("the array has no closing “)”")
                         : Text::tr("expected “,” or “)” in the array"));
            return std::nullopt;
        }
        ++m_pos;
        // A comma before the closing parenthesis is allowed.
        if (!skipSpace())
            return std::nullopt;
        if (peek() == u')') {
            ++m_pos;
            return PlistValue(items);
        }
    }
}

std::optional<PlistValue> Parser::typed(QStringView contents) {
    const QChar kind = contents.isEmpty() ? QChar() : contents.front();
    const QStringView rest = contents.sliced(contents.isEmpty() ? 0 : 1).trimmed();
    bool ok = false;
    switch (kind.unicode()) {
    case u'I': {
        const qint64 integer = rest.toLongLong(&ok);
        if (ok)
            return PlistValue(integer);
        const quint64 big = rest.toULongLong(&ok);
        if (ok)
            return PlistValue(big);
        break;
    }
    case u'R': {
        const double real = QLocale::c().toDouble(rest, &ok);
        if (ok)
            return PlistValue(real);
        break;
    }
    case u'B':
        if (rest == u"Y" || rest == u"N")
            return PlistValue(rest == u"Y");
        break;
    case u'D':
        if (const std::optional<QDateTime> date = gnustepDate(rest))
            return PlistValue(*date);
        break;
    default:
        break;
    }
    fail(Text::tr("“<*%1>” is not a typed value").arg(contents));
    return std::nullopt;
}

std::optional<PlistValue> Parser::angled() {
    const qsizetype start = m_pos++;
    if (peek() == u'*' || peek() == u'[') {
        const bool isTyped = peek() == u'*';
        const qsizetype end = m_text.indexOf(isTyped ? u">" : u"]>", m_pos);
        if (end < 0) {
            fail(Text::tr("the value starting here has no closing “>”"), start);
            return std::nullopt;
        }
        const QStringView contents = m_text.sliced(m_pos + 1, end - m_pos - 1);
        m_pos = end + (isTyped ? 1 : 2);
        if (isTyped)
            return typed(contents);
        QByteArray base64;
        for (const QChar c : contents) {
            if (!c.isSpace())
                base64.append(c.unicode() < 0x80 ? char(c.unicode()) : '!');
        }
        auto decoded =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            fail(Text::tr("the data is not valid base64"), start);
            return std::nullopt;
        }
        return PlistValue(*decoded);
    }
    QByteArray data;
    int high = -1;
    for (;;) {
        if (atEnd()) {
            fail(Text::tr("the data starting here has no closing “>”"), start);
            return std::nullopt;
        }
        const QChar c = m_text[m_pos++];
        if (c == u'>')
            break;
        if (c.isSpace())
            continue;
        const int digit = hexValue(c);
        if (digit < 0) {
            fail(Text::tr("“%1” is not a hexadecimal digit").arg(c), m_pos - 1);
            return std::nullopt;
        }
        if (high < 0) {
            high = digit;
        } else {
            data.append(char(high << 4 | digit));
            high = -1;
        }
    }
    if (high >= 0) {
        fail(Text::tr("the data has an odd number of hexadecimal digits"), start);
        return std::nullopt;
    }
    return PlistValue(data);
}

std::optional<PlistValue> Parser::value(int depth) {
    if (depth > PlistCodec::maximumDepth) {
        fail(Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth));
        return std::nullopt;
    }
    if (!skipSpace())
        return std::nullopt;
    if (atEnd()) {
        fail(Text::tr("expected a value, found the end of the text"));
        return std::nullopt;
    }
    switch (peek().unicode()) {
    case u'{':
        ++m_pos;
        return dictionary(depth, false);
    case u'(':
        return array(depth);
    case u'<':
        return angled();
    default:
        if (std::optional<QString> text = string())
            return PlistValue(*text);
        return std::nullopt;
    }
}

PlistReadResult Parser::run() {
    PlistReadResult result;
    result.format = PlistFormat::OpenStep;
    std::optional<PlistValue> top;
    if (skipSpace()) {
        if (atEnd()) {
            fail(Text::tr("the text is empty"));
        } else {
            const qsizetype start = m_pos;
            const QChar first = peek();
            top = value(0);
            // "key = value;" pairs without braces, as in strings files.
            if (top && top->isString() && first != u'{' && first != u'(' && first != u'<' &&
                skipSpace() && peek() == u'=') {
                m_pos = start;
                top = dictionary(0, true);
            }
            if (top && skipSpace() && !atEnd()) {
                fail(Text::tr("unexpected text after the property list"));
                top.reset();
            }
        }
    }
    if (!m_error.isEmpty()) {
        const qsizetype line = m_text.first(qMin(m_errorPos, m_text.size())).count(u'\n') + 1;
        result.error = Text::tr("Line %1: %2.").arg(line).arg(m_error);
        return result;
    }
    result.value = std::move(top);
    return result;
}

} // namespace

PlistReadResult parse(const QByteArray &bytes) {
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        text = decoder(QByteArrayView(bytes).sliced(2));
        if (decoder.hasError() || bytes.size() % 2 != 0) {
            PlistReadResult result;
            result.format = PlistFormat::OpenStep;
            result.error = Text::tr("The text is not valid UTF-16.");
            return result;
        }
    } else {
        // Stateless, so that a sequence cut off at the end counts as an error too.
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        text = decoder(bytes);
        if (decoder.hasError()) {
            PlistReadResult result;
            result.format = PlistFormat::OpenStep;
            result.error = Text::tr("The text is not valid UTF-8.");
            return result;
        }
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
    }
    Parser parser(text);
    return parser.run();
}

} // namespace OpenStepParser

} // namespace Vandra

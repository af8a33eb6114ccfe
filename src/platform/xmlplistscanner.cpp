#include "platform/xmlplistscanner.h"

#include "platform/plistcodec.h"
#include "platform/plistdate.h"
#include "platform/plistkeys.h"
#include "platform/xmlscalartext.h"

#include <QStringDecoder>

#include <array>
#include <vector>

namespace Vandra {

namespace XmlPlistScanner {

namespace {

enum class Element { Plist, Dict, Array, Key, String, Integer, Real, Date, Data, True, False };

struct ElementName {
    QByteArrayView name;
    Element element;
};

constexpr ElementName elementNames[] = {
    {"plist", Element::Plist}, {"dict", Element::Dict},     {"array", Element::Array},
    {"key", Element::Key},     {"string", Element::String}, {"integer", Element::Integer},
    {"real", Element::Real},   {"date", Element::Date},     {"data", Element::Data},
    {"true", Element::True},   {"false", Element::False},
};

std::optional<Element> elementOf(QByteArrayView name) {
    for (const ElementName &known : elementNames) {
        if (known.name == name)
            return known.element;
    }
    return std::nullopt;
}

QByteArrayView nameOf(Element element) {
    return elementNames[int(element)].name;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c) {
    return isLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
}

bool isPublicId(QByteArrayView literal) {
    static constexpr QByteArrayView punctuation(" -'()+,./:=?;!*#@$_%");
    for (const char c : literal) {
        if (!isLetter(c) && !(c >= '0' && c <= '9') && !punctuation.contains(c))
            return false;
    }
    return true;
}

// Characters every XML reader takes alike. Left out, for the full reader to judge: the
// controls, C1 and DEL included, and the non-characters.
bool isPlainCodePoint(char32_t c) {
    if (c < 0x80)
        return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c < 0x7F);
    if (c < 0xA0 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFDD0 && c <= 0xFDEF))
        return false;
    return (c & 0xFFFE) != 0xFFFE && c <= 0x10FFFF;
}

// The length of the well-formed UTF-8 sequence of a plain character at p, or 0.
int plainSequenceLength(const char *p, const char *end) {
    const auto byte = [p](int i) { return uchar(p[i]); };
    const auto isContinuation = [&byte](int i) { return (byte(i) & 0xC0) == 0x80; };
    const uchar lead = byte(0);
    int length = 0;
    char32_t c = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(i))
            return 0;
        c = (c << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms and code points past U+10FFFF.
    if ((length == 3 && c < 0x800) || (length == 4 && (c < 0x10000 || c > 0x10FFFF)))
        return 0;
    return isPlainCodePoint(c) ? length : 0;
}

// QString::fromUtf8 drops a byte-order mark at the start; here it is a character of the text.
QString textFromUtf8(QByteArrayView utf8) {
    if (utf8.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(utf8);
    }
    return QString::fromUtf8(utf8);
}

// The text of an element with its references resolved, as UTF-8; none when a reference is
// not one of the predefined entities or a character reference to a plain character.
std::optional<QByteArray> resolveReferences(QByteArrayView raw) {
    static constexpr std::pair<QByteArrayView, char> entities[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    QByteArray out;
    out.reserve(raw.size());
    qsizetype pos = 0;
    while (pos < raw.size()) {
        const qsizetype ampersand = raw.indexOf('&', pos);
        if (ampersand < 0) {
            out.append(raw.sliced(pos));
            break;
        }
        out.append(raw.sliced(pos, ampersand - pos));
        const QByteArrayView rest = raw.sliced(ampersand + 1);
        pos = -1;
        for (const auto &[name, character] : entities) {
            if (rest.startsWith(name)) {
                out.append(character);
                pos = ampersand + 1 + name.size();
                break;
            }
        }
        if (pos >= 0)
            continue;
        if (!rest.startsWith('#'))
            return std::nullopt;
        const bool isHex = rest.size() > 1 && rest[1] == 'x';
        qsizetype i = isHex ? 2 : 1;
        char32_t c = 0;
        const qsizetype firstDigit = i;
        for (; i < rest.size() && rest[i] != ';'; ++i) {
            const char d = rest[i];
            const char lower = char(d | 0x20);
            const int digit = d >= '0' && d <= '9'                    ? d - '0'
                              : isHex && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                                      : -1;
            if (digit < 0)
                return std::nullopt;
            c = c * (isHex ? 16 : 10) + char32_t(digit);
            if (c > 0x10FFFF)
                return std::nullopt;
        }
        if (i == firstDigit || i == rest.size() || !isPlainCodePoint(c))
            return std::nullopt;
        out.append(QStringView(QChar::fromUcs4(c)).toUtf8());
        pos = ampersand + 1 + i + 1;
    }
    return out;
}

// Gives up (returns false) wherever the input leaves the plain form; no messages.
class Scanner {
public:
    explicit Scanner(QByteArrayView bytes)
        : m_pos(bytes.data())
        , m_end(bytes.data() + bytes.size()) {}

    std::optional<PlistValue> run();

private:
    struct Tag {
        Element element;
        bool isEmpty; // <name/>
    };
    enum class Next { Child, End, Failed };

    [[nodiscard]] bool at(QByteArrayView word) const {
        return m_end - m_pos >= word.size() && QByteArrayView(m_pos, word.size()) == word;
    }
    void skipSpace() {
        while (m_pos < m_end && isSpace(*m_pos))
            ++m_pos;
    }
    bool skipSpaceAndComments();
    bool readComment();
    bool readDeclaration();
    bool readDoctype();
    bool readQuoted(QByteArrayView *value);
    bool readValueAfterName(QByteArrayView *value);
    bool readAttributes();
    // Attributes are taken on a <plist> at the top only.
    std::optional<Tag> readStartTag(bool isTop);
    bool readEndTag(Element element);
    bool readRawText(QByteArrayView *raw, bool *isAscii, bool *hasReferences);
    bool readString(Element element, QString *text);
    bool readKey(QString *key);
    bool readAsciiText(Element element, QByteArrayView *text);
    bool readValue(const Tag &tag, int depth, PlistValue *value);
    // Past whitespace and comments to the next child of a dictionary or array, or past the
    // container's end tag.
    Next nextChild(Element container);
    bool readDict(int depth, PlistValue *value);
    bool readArray(int depth, PlistValue *value);
    bool readScalar(Element element, PlistValue *value);

    const char *m_pos;
    const char *m_end;
    // The entries and items of the open containers, innermost last: each container takes
    // its own off the top when it ends, into a list of exactly their number, so that no
    // list grows by steps and keeps the room it grew.
    std::vector<PlistDict::Entry> m_entries;
    std::vector<PlistValue> m_items;
};

bool Scanner::readComment() {
    m_pos += 4; // "<!--"
    while (m_pos < m_end) {
        const char c = *m_pos;
        if (c == '-' && at("--")) {
            if (!at("-->"))
                return false;
            m_pos += 3;
            return true;
        }
        if (uchar(c) < 0x80) {
            if (!isPlainCodePoint(uchar(c)))
                return false;
            ++m_pos;
        } else {
            const int length = plainSequenceLength(m_pos, m_end);
            if (length == 0)
                return false;
            m_pos += length;
        }
    }
    return false;
}

bool Scanner::skipSpaceAndComments() {
    for (;;) {
        skipSpace();
        if (!at("<!--"))
            return true;
        if (!readComment())
            return false;
    }
}

// A quoted value of printable ASCII, without the references and '<' that would need more.
bool Scanner::readQuoted(QByteArrayView *value) {
    if (m_pos == m_end || (*m_pos != '"' && *m_pos != '\''))
        return false;
    const char quote = *m_pos++;
    const char *start = m_pos;
    while (m_pos < m_end && *m_pos != quote) {
        const uchar c = uchar(*m_pos);
        if (c < 0x20 || c >= 0x7F || c == '<' || c == '&')
            return false;
        ++m_pos;
    }
    if (m_pos == m_end)
        return false;
    *value = QByteArrayView(start, m_pos - start);
    ++m_pos;
    return true;
}

// = "value" after an attribute's name, space allowed around the '='.
bool Scanner::readValueAfterName(QByteArrayView *value) {
    skipSpace();
    if (m_pos == m_end || *m_pos++ != '=')
        return false;
    skipSpace();
    return readQuoted(value);
}

// <?xml version="1.0" encoding="UTF-8" standalone="no"?>, the last two optional.
bool Scanner::readDeclaration() {
    m_pos += 5; // "<?xml"
    static constexpr QByteArrayView names[] = {"version", "encoding", "standalone"};
    int next = 0; // the first name that may still come; the version must come first
    for (;;) {
        const char *beforeSpace = m_pos;
        skipSpace();
        if (at("?>")) {
            m_pos += 2;
            return next > 0;
        }
        if (m_pos == beforeSpace)
            return false;
        int found = next;
        while (found < 3 && !at(names[found]))
            ++found;
        if (found == 3 || (next == 0 && found != 0))
            return false;
        next = found + 1;
        m_pos += names[found].size();
        QByteArrayView value;
        if (!readValueAfterName(&value))
            return false;
        const bool isKnown = found == 0   ? value == "1.0"
                             : found == 1 ? value.compare("UTF-8", Qt::CaseInsensitive) == 0
                                          : value == "yes" || value == "no";
        if (!isKnown)
            return false;
    }
}

// <!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://...">, or SYSTEM "...", or
// neither; an internal subset is not plain.
bool Scanner::readDoctype() {
    m_pos += 9; // "<!DOCTYPE"
    const char *beforeSpace = m_pos;
    skipSpace();
    if (m_pos == beforeSpace || !at("plist"))
        return false;
    m_pos += 5;
    beforeSpace = m_pos;
    skipSpace();
    int literals = 0;
    if (m_pos != beforeSpace && at("PUBLIC"))
        literals = 2;
    else if (m_pos != beforeSpace && at("SYSTEM"))
        literals = 1;
    if (literals > 0) {
        m_pos += 6;
        for (int i = 0; i < literals; ++i) {
            beforeSpace = m_pos;
            skipSpace();
            QByteArrayView literal;
            if (m_pos == beforeSpace || !readQuoted(&literal))
                return false;
            if (literals == 2 && i == 0 && !isPublicId(literal))
                return false;
        }
        skipSpace();
    }
    if (m_pos == m_end || *m_pos != '>')
        return false;
    ++m_pos;
    return true;
}

// name="value" pairs of plain ASCII, each name once. Names beginning with "xml" (namespaces
// among them) are for the full reader.
bool Scanner::readAttributes() {
    std::array<QByteArrayView, 4> seen;
    qsizetype count = 0;
    while (m_pos < m_end && isLetter(*m_pos)) {
        const char *start = m_pos;
        while (m_pos < m_end && isNameChar(*m_pos))
            ++m_pos;
        const QByteArrayView name(start, m_pos - start);
        if (name.startsWith("xml") || count == qsizetype(seen.size()) ||
            std::find(seen.begin(), seen.begin() + count, name) != seen.begin() + count)
            return false;
        seen[size_t(count++)] = name;
        QByteArrayView value;
        if (!readValueAfterName(&value))
            return false;
        if (m_pos < m_end && !isSpace(*m_pos))
            return true;
        skipSpace();
    }
    return true;
}

std::optional<Scanner::Tag> Scanner::readStartTag(bool isTop) {
    if (m_pos == m_end || *m_pos != '<')
        return std::nullopt;
    const char *start = ++m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    const std::optional<Element> element = elementOf(QByteArrayView(start, m_pos - start));
    if (!element || m_pos == m_end)
        return std::nullopt;
    if (isSpace(*m_pos)) {
        skipSpace();
        if (isTop && *element == Element::Plist && !readAttributes())
            return std::nullopt;
    }
    if (at(">")) {
        ++m_pos;
        return Tag{*element, false};
    }
    if (at("/>")) {
        m_pos += 2;
        return Tag{*element, true};
    }
    return std::nullopt;
}

bool Scanner::readEndTag(Element element) {
    const QByteArrayView name = nameOf(element);
    if (!at("</") || QByteArrayView(m_pos + 2, qMin(name.size(), m_end - m_pos - 2)) != name)
        return false;
    m_pos += 2 + name.size();
    skipSpace();
    if (m_pos == m_end || *m_pos != '>')
        return false;
    ++m_pos;
    return true;
}

// The text up to the next '<', checked: plain characters only, no "]]>", no carriage return
// (XML would turn it into a line feed).
bool Scanner::readRawText(QByteArrayView *raw, bool *isAscii, bool *hasReferences) {
    const char *start = m_pos;
    *isAscii = true;
    *hasReferences = false;
    while (m_pos < m_end) {
        const uchar c = uchar(*m_pos);
        if (c >= 0x20 && c < 0x7F) {
            if (c == '<')
                break;
            if (c == '&')
                *hasReferences = true;
            else if (c == '>' && m_pos - start >= 2 && m_pos[-1] == ']' && m_pos[-2] == ']')
                return false;
            ++m_pos;
        } else if (c == '\t' || c == '\n') {
            ++m_pos;
        } else if (c >= 0x80) {
            const int length = plainSequenceLength(m_pos, m_end);
            if (length == 0)
                return false;
            *isAscii = false;
            m_pos += length;
        } else {
            return false;
        }
    }
    if (m_pos == m_end)
        return false;
    *raw = QByteArrayView(start, m_pos - start);
    return true;
}

bool Scanner::readString(Element element, QString *text) {
    QByteArrayView raw;
    bool isAscii = true;
    bool hasReferences = false;
    if (!readRawText(&raw, &isAscii, &hasReferences) || !readEndTag(element))
        return false;
    if (hasReferences) {
        const std::optional<QByteArray> resolved = resolveReferences(raw);
        if (!resolved)
            return false;
        *text = textFromUtf8(*resolved);
    } else if (isAscii) {
        *text = QString::fromLatin1(raw);
    } else {
        *text = textFromUtf8(raw);
    }
    return true;
}

// A key of plain ASCII, the usual case, shares the text of a known key.
bool Scanner::readKey(QString *key) {
    QByteArrayView raw;
    bool isAscii = true;
    bool hasReferences = false;
    const char *start = m_pos;
    if (!readRawText(&raw, &isAscii, &hasReferences))
        return false;
    if (!isAscii || hasReferences) {
        m_pos = start;
        return readString(Element::Key, key);
    }
    if (!readEndTag(Element::Key))
        return false;
    *key = PlistKeys::text(raw);
    return true;
}

bool Scanner::readAsciiText(Element element, QByteArrayView *text) {
    bool isAscii = true;
    bool hasReferences = false;
    return readRawText(text, &isAscii, &hasReferences) && isAscii && !hasReferences &&
           readEndTag(element);
}

bool Scanner::readScalar(Element element, PlistValue *value) {
    QByteArrayView text;
    if (!readAsciiText(element, &text))
        return false;
    switch (element) {
    case Element::Integer:
        if (std::optional<PlistValue> integer = XmlScalarText::parseInteger(text)) {
            *value = std::move(*integer);
            return true;
        }
        return false;
    case Element::Real:
        if (const std::optional<double> real = XmlScalarText::parseReal(text)) {
            *value = PlistValue(*real);
            return true;
        }
        return false;
    case Element::Date:
        if (const std::optional<QDateTime> date = PlistDate::parseXml(QString::fromLatin1(text))) {
            *value = PlistValue(*date);
            return true;
        }
        return false;
    case Element::Data: {
        QByteArray base64;
        base64.reserve(text.size());
        for (const char c : text) {
            if (!isSpace(c))
                base64.append(c);
        }
        auto decoded =
            QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return false;
        *value = PlistValue(*decoded);
        return true;
    }
    case Element::True:
    case Element::False:
        if (!text.trimmed().isEmpty())
            return false;
        *value = PlistValue(element == Element::True);
        return true;
    default:
        return false;
    }
}

Scanner::Next Scanner::nextChild(Element container) {
    if (!skipSpaceAndComments())
        return Next::Failed;
    if (!at("</"))
        return Next::Child;
    return readEndTag(container) ? Next::End : Next::Failed;
}

bool Scanner::readDict(int depth, PlistValue *value) {
    const std::size_t first = m_entries.size();
    for (Next next = nextChild(Element::Dict); next != Next::End; next = nextChild(Element::Dict)) {
        if (next == Next::Failed)
            return false;
        const std::optional<Tag> keyTag = readStartTag(false);
        if (!keyTag || keyTag->element != Element::Key)
            return false;
        QString key;
        if (!keyTag->isEmpty && !readKey(&key))
            return false;
        if (!skipSpaceAndComments())
            return false;
        const std::optional<Tag> valueTag = readStartTag(false);
        PlistValue entry;
        if (!valueTag || !readValue(*valueTag, depth + 1, &entry))
            return false;
        m_entries.emplace_back(std::move(key), std::move(entry));
    }
    QList<PlistDict::Entry> entries;
    entries.reserve(qsizetype(m_entries.size() - first));
    std::move(m_entries.begin() + qsizetype(first), m_entries.end(), std::back_inserter(entries));
    m_entries.resize(first);
    *value = PlistValue(PlistDict::fromEntries(std::move(entries)));
    return true;
}

bool Scanner::readArray(int depth, PlistValue *value) {
    const std::size_t first = m_items.size();
    for (Next next = nextChild(Element::Array); next != Next::End;
         next = nextChild(Element::Array)) {
        if (next == Next::Failed)
            return false;
        const std::optional<Tag> tag = readStartTag(false);
        PlistValue item;
        if (!tag || !readValue(*tag, depth + 1, &item))
            return false;
        m_items.push_back(std::move(item));
    }
    PlistArray items;
    items.reserve(qsizetype(m_items.size() - first));
    std::move(m_items.begin() + qsizetype(first), m_items.end(), std::back_inserter(items));
    m_items.resize(first);
    *value = PlistValue(items);
    return true;
}

bool Scanner::readValue(const Tag &tag, int depth, PlistValue *value) {
    if (depth > PlistCodec::maximumDepth)
        return false;
    switch (tag.element) {
    case Element::Dict:
        if (tag.isEmpty) {
            *value = PlistValue(PlistDict());
            return true;
        }
        return readDict(depth, value);
    case Element::Array:
        if (tag.isEmpty) {
            *value = PlistValue(PlistArray());
            return true;
        }
        return readArray(depth, value);
    case Element::String: {
        QString text;
        if (!tag.isEmpty && !readString(Element::String, &text))
            return false;
        *value = PlistValue(text);
        return true;
    }
    case Element::True:
    case Element::False:
        if (tag.isEmpty) {
            *value = PlistValue(tag.element == Element::True);
            return true;
        }
        return readScalar(tag.element, value);
    case Element::Data:
        if (tag.isEmpty) {
            *value = PlistValue(QByteArray());
            return true;
        }
        return readScalar(tag.element, value);
    case Element::Integer:
    case Element::Real:
    case Element::Date:
        return !tag.isEmpty && readScalar(tag.element, value);
    case Element::Plist:
    case Element::Key:
        return false;
    }
    return false;
}

std::optional<PlistValue> Scanner::run() {
    if (at("\xEF\xBB\xBF"))
        m_pos += 3;
    if (at("<?xml") && m_end - m_pos > 5 && isSpace(m_pos[5]) && !readDeclaration())
        return std::nullopt;
    bool hasDoctype = false;
    for (;;) {
        if (!skipSpaceAndComments())
            return std::nullopt;
        if (hasDoctype || !at("<!DOCTYPE"))
            break;
        if (!readDoctype())
            return std::nullopt;
        hasDoctype = true;
    }
    const std::optional<Tag> root = readStartTag(true);
    if (!root)
        return std::nullopt;
    PlistValue value;
    if (root->element != Element::Plist) {
        // A value without the <plist> around it.
        if (!readValue(*root, 0, &value))
            return std::nullopt;
    } else {
        if (root->isEmpty || !skipSpaceAndComments())
            return std::nullopt;
        const std::optional<Tag> tag = readStartTag(false);
        if (!tag || !readValue(*tag, 0, &value) || !skipSpaceAndComments() ||
            !readEndTag(Element::Plist))
            return std::nullopt;
    }
    if (!skipSpaceAndComments() || m_pos != m_end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<PlistValue> read(QByteArrayView bytes) {
    Scanner scanner(bytes);
    return scanner.run();
}

} // namespace XmlPlistScanner

} // namespace Vandra

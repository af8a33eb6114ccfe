#include "platform/xmlplistreader.h"

#include "platform/plistdate.h"
#include "platform/xmlscalartext.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

namespace Vandra {

namespace XmlPlistReader {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

// The scalar's text as ASCII for XmlScalarText, past the surrounding whitespace (which here
// includes Unicode's); none when anything else is left, which no scalar can hold.
std::optional<QByteArray> asciiText(const QString &text) {
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed) {
        if (c.unicode() >= 0x80)
            return std::nullopt;
    }
    return trimmed.toLatin1();
}

class Reader {
public:
    explicit Reader(const QByteArray &bytes)
        : m_xml(bytes) {}

    PlistReadResult run();

private:
    enum class Next { Start, End, Failed };

    std::optional<PlistValue> readValue(int depth);
    std::optional<PlistValue> readDict(int depth);
    std::optional<PlistValue> readArray(int depth);
    // The text of the current element up to its end tag.
    std::optional<QString> readText();
    // The next element start or end, past whitespace, comments and processing instructions.
    Next nextChild();
    void fail(const QString &message) {
        if (!m_xml.hasError())
            m_xml.raiseError(message);
    }

    QXmlStreamReader m_xml;
};

Reader::Next Reader::nextChild() {
    while (!m_xml.hasError()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::StartElement:
            return Next::Start;
        case QXmlStreamReader::EndElement:
            return Next::End;
        case QXmlStreamReader::Characters:
            if (!m_xml.isWhitespace()) {
                fail(Text::tr("unexpected text “%1”").arg(m_xml.text().trimmed().left(40)));
                return Next::Failed;
            }
            break;
        case QXmlStreamReader::EntityReference:
            fail(Text::tr("unknown entity “&%1;”").arg(m_xml.name()));
            return Next::Failed;
        case QXmlStreamReader::EndDocument:
        case QXmlStreamReader::Invalid:
            return Next::Failed;
        default:
            break;
        }
    }
    return Next::Failed;
}

std::optional<QString> Reader::readText() {
    QString text;
    while (!m_xml.hasError()) {
        switch (m_xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += m_xml.text();
            break;
        case QXmlStreamReader::EndElement:
            return text;
        case QXmlStreamReader::StartElement:
            fail(Text::tr("the element <%1> cannot stand inside text").arg(m_xml.name()));
            return std::nullopt;
        case QXmlStreamReader::EntityReference:
            fail(Text::tr("unknown entity “&%1;”").arg(m_xml.name()));
            return std::nullopt;
        case QXmlStreamReader::EndDocument:
        case QXmlStreamReader::Invalid:
            return std::nullopt;
        default:
            break;
        }
    }
    return std::nullopt;
}

std::optional<PlistValue> Reader::readDict(int depth) {
    QList<PlistDict::Entry> entries;
    for (;;) {
        const Next next = nextChild();
        if (next == Next::End)
            break;
        if (next == Next::Failed)
            return std::nullopt;
        if (m_xml.name() != u"key") {
            fail(Text::tr("expected <key> in the dictionary, found <%1>").arg(m_xml.name()));
            return std::nullopt;
        }
        std::optional<QString> key = readText();
        if (!key)
            return std::nullopt;
        const Next valueStart = nextChild();
        if (valueStart == Next::End) {
            fail(Text::tr("the key “%1” has no value").arg(*key));
            return std::nullopt;
        }
        if (valueStart == Next::Failed)
            return std::nullopt;
        std::optional<PlistValue> value = readValue(depth + 1);
        if (!value)
            return std::nullopt;
        entries.append(PlistDict::Entry(std::move(*key), std::move(*value)));
    }
    return PlistValue(PlistDict::fromEntries(std::move(entries)));
}

std::optional<PlistValue> Reader::readArray(int depth) {
    PlistArray items;
    for (;;) {
        const Next next = nextChild();
        if (next == Next::End)
            break;
        if (next == Next::Failed)
            return std::nullopt;
        std::optional<PlistValue> item = readValue(depth + 1);
        if (!item)
            return std::nullopt;
        items.append(std::move(*item));
    }
    return PlistValue(items);
}

std::optional<PlistValue> Reader::readValue(int depth) {
    if (depth > PlistCodec::maximumDepth) {
        fail(Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth));
        return std::nullopt;
    }
    const QStringView name = m_xml.name();
    if (name == u"dict")
        return readDict(depth);
    if (name == u"array")
        return readArray(depth);
    if (name == u"true" || name == u"false") {
        const bool value = name == u"true";
        const std::optional<QString> text = readText();
        if (!text)
            return std::nullopt;
        if (!text->trimmed().isEmpty()) {
            fail(Text::tr("<%1/> cannot hold text").arg(value ? u"true" : u"false"));
            return std::nullopt;
        }
        return PlistValue(value);
    }
    enum class Scalar { String, Integer, Real, Date, Data };
    Scalar scalar = Scalar::String;
    if (name == u"integer") {
        scalar = Scalar::Integer;
    } else if (name == u"real") {
        scalar = Scalar::Real;
    } else if (name == u"date") {
        scalar = Scalar::Date;
    } else if (name == u"data") {
        scalar = Scalar::Data;
    } else if (name != u"string") {
        fail(name == u"key" ? Text::tr("a <key> outside a dictionary")
                            : Text::tr("unknown element <%1>").arg(name));
        return std::nullopt;
    }
    const std::optional<QString> text = readText();
    if (!text)
        return std::nullopt;
    if (scalar == Scalar::String)
        return PlistValue(*text);
    if (scalar == Scalar::Integer) {
        const std::optional<QByteArray> ascii = asciiText(*text);
        if (std::optional<PlistValue> integer =
                ascii ? XmlScalarText::parseInteger(*ascii) : std::nullopt)
            return integer;
        fail(Text::tr("“%1” is not an integer within the 64-bit range")
                 .arg(text->trimmed().left(40)));
        return std::nullopt;
    }
    if (scalar == Scalar::Real) {
        const std::optional<QByteArray> ascii = asciiText(*text);
        if (const std::optional<double> real =
                ascii ? XmlScalarText::parseReal(*ascii) : std::nullopt)
            return PlistValue(*real);
        fail(Text::tr("“%1” is not a real number").arg(text->trimmed().left(40)));
        return std::nullopt;
    }
    if (scalar == Scalar::Date) {
        if (const std::optional<QDateTime> date = PlistDate::parseXml(*text))
            return PlistValue(*date);
        fail(Text::tr("“%1” is not a date such as 2024-05-06T07:08:09Z")
                 .arg(text->trimmed().left(40)));
        return std::nullopt;
    }
    QByteArray base64;
    base64.reserve(text->size());
    for (const QChar c : *text) {
        if (c.isSpace())
            continue;
        if (c.unicode() >= 0x80) {
            base64.clear();
            base64.append('!');
            break;
        }
        base64.append(char(c.unicode()));
    }
    auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        fail(Text::tr("the data is not valid base64"));
        return std::nullopt;
    }
    return PlistValue(*decoded);
}

PlistReadResult Reader::run() {
    PlistReadResult result;
    result.format = PlistFormat::Xml;
    std::optional<PlistValue> value;
    while (!m_xml.atEnd() && !m_xml.hasError()) {
        const QXmlStreamReader::TokenType token = m_xml.readNext();
        if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()) {
            fail(Text::tr("unexpected text “%1”").arg(m_xml.text().trimmed().left(40)));
        } else if (token == QXmlStreamReader::StartElement) {
            if (value) {
                fail(Text::tr("more than one value at the top level"));
            } else if (m_xml.name() != u"plist") {
                value = readValue(0);
            } else {
                const Next next = nextChild();
                if (next == Next::End)
                    fail(Text::tr("the property list holds no value"));
                else if (next == Next::Start && (value = readValue(0)) && nextChild() != Next::End)
                    fail(Text::tr("more than one value at the top level"));
            }
        }
    }
    if (!m_xml.hasError() && !value)
        fail(Text::tr("the property list holds no value"));
    if (m_xml.hasError()) {
        result.error = Text::tr("Line %1, column %2: %3.")
                           .arg(m_xml.lineNumber())
                           .arg(m_xml.columnNumber())
                           .arg(m_xml.errorString());
        return result;
    }
    result.value = std::move(value);
    return result;
}

} // namespace

namespace {

bool isXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Blanks bytes[from, to) out with spaces, keeping line breaks so that the lines and columns
// of later errors stay those of the file.
void blankOut(QByteArray &bytes, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            bytes[i] = ' ';
    }
}

// The end of the DOCTYPE declaration starting at `at`, past its quoted literals and internal
// subset; -1 when it does not end.
qsizetype doctypeEnd(const QByteArray &bytes, qsizetype at) {
    char quote = 0;
    int brackets = 0;
    for (qsizetype i = at; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']') {
            --brackets;
        } else if (c == '>' && brackets <= 0) {
            return i + 1;
        }
    }
    return -1;
}

} // namespace

// launchd's own parser reads files that a strict XML reader refuses, and some shipped job
// files rely on it: whitespace or comments before the XML declaration, and a DOCTYPE whose
// identifiers are not quoted. The declaration moves to the front and the DOCTYPE, which we
// never validate against, is blanked out. UTF-8 text only: other encodings are left alone.
QByteArray withPlainProlog(const QByteArray &bytes) {
    if (bytes.contains('\0'))
        return bytes;
    QByteArray text = bytes;
    const qsizetype bom = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    qsizetype at = bom;
    // Past whitespace and comments to the first markup that is neither.
    for (;;) {
        while (at < text.size() && isXmlSpace(text[at]))
            ++at;
        if (!QByteArrayView(text).sliced(at).startsWith("<!--"))
            break;
        const qsizetype close = text.indexOf("-->", at + 4);
        if (close < 0)
            return bytes;
        at = close + 3;
    }
    if (at > bom && QByteArrayView(text).sliced(at).startsWith("<?xml")) {
        const qsizetype close = text.indexOf("?>", at);
        if (close < 0)
            return bytes;
        const QByteArray declaration = text.mid(at, close + 2 - at);
        QByteArray before = text.mid(bom, at - bom);
        blankOut(before, 0, before.size());
        text = text.left(bom) + declaration + before + text.mid(close + 2);
    }
    const qsizetype firstElement = [&text] {
        for (qsizetype i = text.indexOf('<'); i >= 0; i = text.indexOf('<', i + 1)) {
            if (i + 1 < text.size() && QChar::isLetter(uchar(text[i + 1])))
                return i;
        }
        return qsizetype(-1);
    }();
    const qsizetype doctype = text.indexOf("<!DOCTYPE");
    if (doctype >= 0 && (firstElement < 0 || doctype < firstElement)) {
        // One with an internal subset may define entities the text uses; it stays.
        const qsizetype end = doctypeEnd(text, doctype + 9);
        if (end > 0 && !QByteArrayView(text).sliced(doctype, end - doctype).contains('['))
            blankOut(text, doctype, end);
    }
    return text;
}

PlistReadResult read(const QByteArray &bytes) {
    Reader reader(withPlainProlog(bytes));
    return reader.run();
}

} // namespace XmlPlistReader

} // namespace Vandra

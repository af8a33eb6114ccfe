#include "platform/xmlplistreader.h"

#include "platform/plistdate.h"
#include "platform/xmlscalartext.h"

#include <QCoreApplication>
#include <QXmlStreamReader>

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
        if (const std::optional<qint64> integer =
                ascii ? XmlScalarText::parseInteger(*ascii) : std::nullopt)
            return PlistValue(*integer);
        fail(Text::tr("“%1” is not an integer within the signed 64-bit range")
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

PlistReadResult read(const QByteArray &bytes) {
    Reader reader(bytes);
    return reader.run();
}

} // namespace XmlPlistReader

#include "platform/xmlplistwriter.h"

#include "platform/plistcodec.h"
#include "platform/plistdate.h"

#include <QCoreApplication>

#include <charconv>
#include <cmath>
#include <cstring>

namespace Vandra {

namespace XmlPlistWriter {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

constexpr char header[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                          "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                          "<plist version=\"1.0\">\n";

QString codePoint(char16_t c) {
    return QStringLiteral("U+") + QString::number(uint(c), 16).toUpper().rightJustified(4, u'0');
}

// "EnvironmentVariables/PATH", "ProgramArguments[2]".
QString pathText(const QStringList &path) {
    QString text;
    for (const QString &component : path) {
        if (!text.isEmpty() && !component.startsWith(QLatin1Char('[')))
            text += QLatin1Char('/');
        text += component;
    }
    return text;
}

class Writer {
public:
    explicit Writer(QByteArray &out)
        : m_out(out) {}

    // On failure, error() says what, and path() where (innermost component last).
    bool write(const PlistValue &value, int depth);
    [[nodiscard]] const QString &error() const { return m_error; }
    [[nodiscard]] const QStringList &path() const { return m_path; }

private:
    void indent(int depth) { m_out.append(depth, '\t'); }
    bool appendText(const QString &text);
    bool writeArray(const PlistArray &array, int depth);
    bool writeDict(const PlistDict &dict, int depth);
    void writeData(const QByteArray &data, int depth);
    void writeReal(double real);
    template <typename Integer> void appendInteger(Integer integer) {
        char buffer[24];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, integer);
        m_out.append(buffer, result.ptr - buffer);
    }

    QByteArray &m_out;
    QString m_error;
    QStringList m_path;
};

bool Writer::appendText(const QString &text) {
    // Encoded here from UTF-16 rather than through toUtf8(), which would quietly replace a
    // lone surrogate, and straight into the output without a copy per text.
    const auto *units = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    const qsizetype start = m_out.size();
    // The most one unit can take: "&amp;" (a surrogate pair takes 4 bytes for 2 units).
    const qsizetype needed = start + 5 * size;
    if (m_out.capacity() < needed)
        m_out.reserve(qMax(needed, 2 * m_out.capacity()));
    m_out.resize(needed);
    char *out = m_out.data() + start;
    const auto append = [&out](const char *literal, qsizetype length) {
        std::memcpy(out, literal, size_t(length));
        out += length;
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = units[i];
        if (c < 0x80) {
            if (c >= 0x20 || c == u'\t' || c == u'\n') {
                switch (c) {
                case u'&':
                    append("&amp;", 5);
                    break;
                case u'<':
                    append("&lt;", 4);
                    break;
                case u'>':
                    append("&gt;", 4);
                    break;
                default:
                    *out++ = char(c);
                }
            } else if (c == u'\r') {
                // A raw carriage return would come back as a line feed from any XML reader.
                append("&#13;", 5);
            } else {
                m_error = Text::tr("the text holds the control character %1, which XML cannot "
                                   "carry")
                              .arg(codePoint(c));
                return false;
            }
        } else if (c < 0x800) {
            *out++ = char(0xC0 | (c >> 6));
            *out++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < size &&
                   QChar::isLowSurrogate(units[i + 1])) {
            const char32_t point = QChar::surrogateToUcs4(c, units[++i]);
            *out++ = char(0xF0 | (point >> 18));
            *out++ = char(0x80 | ((point >> 12) & 0x3F));
            *out++ = char(0x80 | ((point >> 6) & 0x3F));
            *out++ = char(0x80 | (point & 0x3F));
        } else if (QChar::isSurrogate(c)) {
            m_error = Text::tr("the text holds a lone surrogate %1, which is not a character")
                          .arg(codePoint(c));
            return false;
        } else if (c == 0xFFFE || c == 0xFFFF) {
            m_error = Text::tr("the text holds the non-character %1").arg(codePoint(c));
            return false;
        } else {
            *out++ = char(0xE0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3F));
            *out++ = char(0x80 | (c & 0x3F));
        }
    }
    m_out.resize(out - m_out.constData());
    return true;
}

void Writer::writeReal(double real) {
    if (std::isnan(real)) {
        m_out.append("nan");
    } else if (std::isinf(real)) {
        m_out.append(real > 0 ? "+infinity" : "-infinity");
    } else {
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, real);
        m_out.append(buffer, result.ptr - buffer);
    }
}

void Writer::writeData(const QByteArray &data, int depth) {
    // Lines as long as Apple's and plistlib's: 76 columns less the indentation (8 per tab).
    const qsizetype width = qMax<qsizetype>(16, 76 - 8 * depth) & ~qsizetype(3);
    const QByteArray base64 = data.toBase64();
    m_out.append("<data>\n");
    for (qsizetype pos = 0; pos < base64.size(); pos += width) {
        indent(depth);
        m_out.append(base64.constData() + pos, qMin(width, base64.size() - pos));
        m_out.append('\n');
    }
    indent(depth);
    m_out.append("</data>\n");
}

bool Writer::writeArray(const PlistArray &array, int depth) {
    if (array.isEmpty()) {
        m_out.append("<array/>\n");
        return true;
    }
    m_out.append("<array>\n");
    for (qsizetype i = 0; i < array.size(); ++i) {
        indent(depth + 1);
        if (!write(array[i], depth + 1)) {
            m_path.prepend(QLatin1Char('[') + QString::number(i) + QLatin1Char(']'));
            return false;
        }
    }
    indent(depth);
    m_out.append("</array>\n");
    return true;
}

bool Writer::writeDict(const PlistDict &dict, int depth) {
    if (dict.isEmpty()) {
        m_out.append("<dict/>\n");
        return true;
    }
    m_out.append("<dict>\n");
    for (const PlistDict::Entry &entry : dict) {
        indent(depth + 1);
        m_out.append("<key>");
        if (!appendText(entry.first)) {
            m_error = Text::tr("the key: %1").arg(m_error);
            m_path.prepend(entry.first);
            return false;
        }
        m_out.append("</key>\n");
        indent(depth + 1);
        if (!write(entry.second, depth + 1)) {
            m_path.prepend(entry.first);
            return false;
        }
    }
    indent(depth);
    m_out.append("</dict>\n");
    return true;
}

bool Writer::write(const PlistValue &value, int depth) {
    if (depth > PlistCodec::maximumDepth) {
        m_error = Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth);
        return false;
    }
    switch (value.type()) {
    case PlistValue::Type::None:
        m_error = Text::tr("there is no value");
        return false;
    case PlistValue::Type::String:
        m_out.append("<string>");
        if (!appendText(*value.toString()))
            return false;
        m_out.append("</string>\n");
        return true;
    case PlistValue::Type::Boolean:
        m_out.append(*value.toBool() ? "<true/>\n" : "<false/>\n");
        return true;
    case PlistValue::Type::Integer:
        m_out.append("<integer>");
        if (const std::optional<qint64> integer = value.toInteger())
            appendInteger(*integer);
        else
            appendInteger(*value.toUnsigned());
        m_out.append("</integer>\n");
        return true;
    case PlistValue::Type::Real:
        m_out.append("<real>");
        writeReal(*value.toReal());
        m_out.append("</real>\n");
        return true;
    case PlistValue::Type::Date: {
        const std::optional<QByteArray> text = PlistDate::formatXml(*value.toDate());
        if (!text) {
            m_error = Text::tr("the date is invalid or outside the years 1 to 9999");
            return false;
        }
        m_out.append("<date>");
        m_out.append(*text);
        m_out.append("</date>\n");
        return true;
    }
    case PlistValue::Type::Data:
        writeData(*value.toData(), depth);
        return true;
    case PlistValue::Type::Array:
        return writeArray(*value.array(), depth);
    case PlistValue::Type::Dictionary:
        return writeDict(*value.dict(), depth);
    }
    return false;
}

} // namespace

std::optional<QByteArray> write(const PlistValue &value, QString *error) {
    QByteArray out;
    out.reserve(4096);
    out.append(header);
    Writer writer(out);
    if (!writer.write(value, 0)) {
        if (error) {
            *error = writer.path().isEmpty()
                         ? Text::tr("Cannot write the property list: %1.").arg(writer.error())
                         : Text::tr("Cannot write the value at “%1”: %2.")
                               .arg(pathText(writer.path()), writer.error());
        }
        return std::nullopt;
    }
    out.append("</plist>\n");
    return out;
}

} // namespace XmlPlistWriter

} // namespace Vandra

#include "platform/binaryplistwriter.h"

#include "platform/plistcodec.h"
#include "platform/plistdate.h"

#include <QCoreApplication>
#include <QtEndian>

#include <algorithm>
#include <vector>

namespace Vandra {

namespace BinaryPlistWriter {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

// Checks that a text is made of whole characters and no NUL, which our reader refuses.
bool isWritableText(const QString &text, QString &error) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c.isNull()) {
            error = Text::tr("the text holds a NUL character");
            return false;
        }
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            error = Text::tr("the text holds a lone surrogate, which is not a character");
            return false;
        }
    }
    return true;
}

template <typename T> void appendBigEndian(QByteArray &out, T value) {
    char bytes[sizeof(T)];
    qToBigEndian(value, bytes);
    out.append(bytes, qsizetype(sizeof(T)));
}

void appendUnsigned(QByteArray &out, quint64 value, int size) {
    for (int i = size - 1; i >= 0; --i)
        out.append(char(value >> (8 * i)));
}

// The smallest of 1, 2, 4 and 8 bytes that holds value.
int widthOf(quint64 value) {
    return value <= 0xFF ? 1 : value <= 0xFFFF ? 2 : value <= 0xFFFFFFFF ? 4 : 8;
}

void appendInteger(QByteArray &out, quint64 value, bool isSigned) {
    // Negative values take eight bytes, as readers take eight-byte integers as signed.
    const int width = isSigned ? 8 : widthOf(value);
    out.append(char(0x10 | (width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3)));
    appendUnsigned(out, value, width);
}

void appendMarker(QByteArray &out, quint8 type, quint64 count) {
    if (count < 15) {
        out.append(char(type << 4 | count));
        return;
    }
    out.append(char(type << 4 | 0xF));
    appendInteger(out, count, false);
}

// Lays the values out as the object table: every value and every key one object, parents
// before their children, then encodes them once the reference width is known.
class Writer {
public:
    bool collect(const PlistValue &value, int depth);
    QByteArray finish() const;
    QString error;

private:
    struct Node {
        const PlistValue *value = nullptr;
        const QString *key = nullptr;
        QList<quint64> children; // keys, then values, for a dictionary
    };
    quint64 addKey(const QString &key);
    void encode(const Node &node, int refSize, QByteArray &out) const;

    std::vector<Node> m_nodes;
};

quint64 Writer::addKey(const QString &key) {
    Node node;
    node.key = &key;
    m_nodes.push_back(node);
    return m_nodes.size() - 1;
}

bool Writer::collect(const PlistValue &value, int depth) {
    if (depth > PlistCodec::maximumDepth) {
        error = Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth);
        return false;
    }
    const quint64 index = m_nodes.size();
    m_nodes.push_back(Node{&value, nullptr, {}});
    switch (value.type()) {
    case PlistValue::Type::None:
        error = Text::tr("there is no value");
        return false;
    case PlistValue::Type::String:
        return isWritableText(*value.toString(), error);
    case PlistValue::Type::Date:
        if (!PlistDate::isWritable(*value.toDate())) {
            error = Text::tr("the date is invalid or outside the years 1 to 9999");
            return false;
        }
        return true;
    case PlistValue::Type::Array: {
        const PlistArray &items = *value.array();
        for (qsizetype i = 0; i < items.size(); ++i) {
            m_nodes[index].children.append(m_nodes.size());
            if (!collect(items[i], depth + 1)) {
                error = Text::tr("[%1]: %2").arg(i).arg(error);
                return false;
            }
        }
        return true;
    }
    case PlistValue::Type::Dictionary: {
        const PlistDict &dict = *value.dict();
        QList<quint64> keys;
        for (const PlistDict::Entry &entry : dict) {
            if (!isWritableText(entry.first, error)) {
                error = Text::tr("“%1”: %2").arg(entry.first, error);
                return false;
            }
            keys.append(addKey(entry.first));
        }
        QList<quint64> values;
        for (const PlistDict::Entry &entry : dict) {
            values.append(m_nodes.size());
            if (!collect(entry.second, depth + 1)) {
                error = Text::tr("“%1”: %2").arg(entry.first, error);
                return false;
            }
        }
        m_nodes[index].children = keys + values;
        return true;
    }
    default:
        return true;
    }
}

void appendText(QByteArray &out, const QString &text) {
    const bool isAscii =
        std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (isAscii) {
        appendMarker(out, 0x5, quint64(text.size()));
        out.append(text.toLatin1());
        return;
    }
    appendMarker(out, 0x6, quint64(text.size()));
    for (const QChar c : text)
        appendBigEndian(out, quint16(c.unicode()));
}

void Writer::encode(const Node &node, int refSize, QByteArray &out) const {
    if (node.key) {
        appendText(out, *node.key);
        return;
    }
    const PlistValue &value = *node.value;
    switch (value.type()) {
    case PlistValue::Type::None:
        break;
    case PlistValue::Type::String:
        appendText(out, *value.toString());
        break;
    case PlistValue::Type::Boolean:
        out.append(char(*value.toBool() ? 0x09 : 0x08));
        break;
    case PlistValue::Type::Integer:
        if (const std::optional<qint64> integer = value.toInteger()) {
            appendInteger(out, quint64(*integer), *integer < 0);
        } else {
            // Above the signed range: sixteen bytes, the high half zero.
            out.append(char(0x14));
            appendUnsigned(out, 0, 8);
            appendUnsigned(out, *value.toUnsigned(), 8);
        }
        break;
    case PlistValue::Type::Real:
        out.append(char(0x23));
        appendBigEndian(out, *value.toReal());
        break;
    case PlistValue::Type::Date: {
        const qint64 msecs = value.toDate()->toMSecsSinceEpoch() - PlistDate::referenceMsecs;
        out.append(char(0x33));
        appendBigEndian(out, double(msecs) / 1000.0);
        break;
    }
    case PlistValue::Type::Data: {
        const QByteArray data = *value.toData();
        appendMarker(out, 0x4, quint64(data.size()));
        out.append(data);
        break;
    }
    case PlistValue::Type::Array:
    case PlistValue::Type::Dictionary: {
        const bool isDict = value.isDict();
        const quint64 count = quint64(node.children.size()) / (isDict ? 2 : 1);
        appendMarker(out, isDict ? 0xD : 0xA, count);
        for (const quint64 child : node.children)
            appendUnsigned(out, child, refSize);
        break;
    }
    }
}

QByteArray Writer::finish() const {
    const int refSize = widthOf(m_nodes.size());
    QByteArray out("bplist00");
    QList<quint64> offsets;
    offsets.reserve(qsizetype(m_nodes.size()));
    for (const Node &node : m_nodes) {
        offsets.append(quint64(out.size()));
        encode(node, refSize, out);
    }
    const auto tableOffset = quint64(out.size());
    const int offsetSize = widthOf(tableOffset);
    for (const quint64 offset : offsets)
        appendUnsigned(out, offset, offsetSize);
    out.append(QByteArray(6, '\0'));
    out.append(char(offsetSize));
    out.append(char(refSize));
    appendUnsigned(out, m_nodes.size(), 8);
    appendUnsigned(out, 0, 8);
    appendUnsigned(out, tableOffset, 8);
    return out;
}

} // namespace

std::optional<QByteArray> write(const PlistValue &value, QString *error) {
    Writer writer;
    if (!writer.collect(value, 0)) {
        if (error)
            *error = Text::tr("Cannot write the binary property list: %1.").arg(writer.error);
        return std::nullopt;
    }
    return writer.finish();
}

} // namespace BinaryPlistWriter

} // namespace Vandra

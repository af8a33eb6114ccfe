#include "platform/binaryplistreader.h"

#include "platform/plistdate.h"

#include <QCoreApplication>

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace BinaryPlistReader {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

constexpr qsizetype headerSize = 8;
constexpr qsizetype trailerSize = 32;
// Writers share only equal scalars and at most a few collections, so a list holds about as
// many values as it has references; sharing that expands far beyond that is an attack.
constexpr quint64 valuesPerByte = 16;
constexpr quint64 valuesAlways = 4096;

enum Marker : quint8 {
    Simple = 0x0,
    Integer = 0x1,
    Real = 0x2,
    Date = 0x3,
    Data = 0x4,
    AsciiString = 0x5,
    Utf16String = 0x6,
    Uid = 0x8,
    Array = 0xA,
    Dict = 0xD,
};

// Walks the object table from the top object, each object once, and refuses what libplist
// would crash on, never finish, or read wrongly.
class Checker {
public:
    explicit Checker(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData()))
        , m_size(quint64(bytes.size()))
        , m_maximumValues(qMin<quint64>(valuesPerByte * m_size + valuesAlways,
                                        std::numeric_limits<quint32>::max())) {}

    bool check();
    [[nodiscard]] const QString &error() const { return m_error; }

private:
    struct Object {
        quint8 type = 0;
        quint8 info = 0;
        quint64 start = 0; // of the contents, after the marker and length
        quint64 count = 0; // elements, characters or bytes
    };

    bool fail(const QString &message) {
        if (m_error.isEmpty())
            m_error = message;
        return false;
    }
    [[nodiscard]] quint64 readUnsigned(quint64 pos, int size) const;
    bool readTrailer();
    std::optional<Object> object(quint64 index);
    bool checkContents(const Object &object, quint64 index);
    bool visit(quint64 index, int depth);

    const uchar *m_data;
    quint64 m_size;
    quint64 m_maximumValues;
    int m_offsetSize = 0;
    int m_refSize = 0;
    quint64 m_count = 0;
    quint64 m_top = 0;
    quint64 m_tableOffset = 0;

    enum class State : quint8 { New, Visiting, Done };
    std::vector<State> m_state;
    std::vector<quint32> m_expanded; // values once shared references are counted out
    std::vector<quint16> m_height;   // nesting levels below the object
    QString m_error;
};

quint64 Checker::readUnsigned(quint64 pos, int size) const {
    quint64 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | m_data[pos + quint64(i)];
    return value;
}

bool Checker::readTrailer() {
    if (m_size < quint64(headerSize + trailerSize) + 1)
        return fail(Text::tr("the binary property list is truncated"));
    const quint64 trailer = m_size - trailerSize;
    m_offsetSize = m_data[trailer + 6];
    m_refSize = m_data[trailer + 7];
    m_count = readUnsigned(trailer + 8, 8);
    m_top = readUnsigned(trailer + 16, 8);
    m_tableOffset = readUnsigned(trailer + 24, 8);
    if (m_offsetSize < 1 || m_offsetSize > 8 || m_refSize < 1 || m_refSize > 8)
        return fail(Text::tr("the binary property list has invalid offset sizes"));
    if (m_count == 0 || m_count > m_size || m_top >= m_count)
        return fail(Text::tr("the binary property list has an invalid object count"));
    if (m_tableOffset < quint64(headerSize) + 1 || m_tableOffset >= trailer ||
        m_count * quint64(m_offsetSize) > trailer - m_tableOffset)
        return fail(Text::tr("the binary property list has an invalid offset table"));
    return true;
}

std::optional<Checker::Object> Checker::object(quint64 index) {
    const quint64 offset =
        readUnsigned(m_tableOffset + index * quint64(m_offsetSize), m_offsetSize);
    // Every object lies between the header and the offset table.
    const quint64 end = m_tableOffset;
    if (offset < quint64(headerSize) || offset >= end) {
        fail(Text::tr("object %1 lies outside the object area").arg(index));
        return std::nullopt;
    }
    Object object;
    object.type = m_data[offset] >> 4;
    object.info = m_data[offset] & 0xF;
    object.start = offset + 1;
    object.count = object.info;
    const bool hasCount = object.type == Data || object.type == AsciiString ||
                          object.type == Utf16String || object.type == Array || object.type == Dict;
    if (hasCount && object.info == 0xF) {
        if (object.start >= end || m_data[object.start] >> 4 != Integer ||
            (m_data[object.start] & 0xF) > 3) {
            fail(Text::tr("object %1 has an invalid length").arg(index));
            return std::nullopt;
        }
        const int size = 1 << (m_data[object.start] & 0xF);
        if (object.start + 1 + quint64(size) > end) {
            fail(Text::tr("object %1 is truncated").arg(index));
            return std::nullopt;
        }
        object.count = readUnsigned(object.start + 1, size);
        object.start += 1 + quint64(size);
    }
    // The bytes the contents take; counts are checked against the size before multiplying.
    quint64 bytes = 0;
    switch (object.type) {
    case Simple:
        break;
    case Integer:
        bytes = object.info <= 4 ? quint64(1) << object.info : 0;
        break;
    case Real:
        bytes = object.info == 2 || object.info == 3 ? quint64(1) << object.info : 0;
        break;
    case Date:
        bytes = 8;
        break;
    case Data:
    case AsciiString:
        bytes = object.count;
        break;
    case Utf16String:
        bytes = object.count > m_size ? m_size : object.count * 2;
        break;
    case Uid:
        bytes = quint64(object.info) + 1;
        break;
    case Array:
        bytes = object.count > m_size ? m_size : object.count * quint64(m_refSize);
        break;
    case Dict:
        bytes = object.count > m_size ? m_size : object.count * 2 * quint64(m_refSize);
        break;
    default:
        fail(Text::tr("object %1 has the unknown type 0x%2")
                 .arg(index)
                 .arg(uint(m_data[offset]), 2, 16, QLatin1Char('0')));
        return std::nullopt;
    }
    if (bytes > end - object.start) {
        fail(Text::tr("object %1 is truncated").arg(index));
        return std::nullopt;
    }
    return object;
}

bool Checker::checkContents(const Object &object, quint64 index) {
    const uchar *contents = m_data + object.start;
    switch (object.type) {
    case Simple:
        if (object.info != 0x8 && object.info != 0x9)
            return fail(Text::tr("object %1 is a null or fill value, which a property list "
                                 "cannot hold")
                            .arg(index));
        return true;
    case Integer:
        if (object.info > 4)
            return fail(Text::tr("object %1 is an integer of invalid size").arg(index));
        if (object.info == 4) {
            // Fits 64 bits when the high half only repeats the sign of the low half.
            const quint8 sign = contents[8] & 0x80 ? 0xFF : 0x00;
            for (int i = 0; i < 8; ++i) {
                if (contents[i] != sign)
                    return fail(Text::tr("object %1 is an integer outside the signed 64-bit "
                                         "range")
                                    .arg(index));
            }
        }
        return true;
    case Real:
        if (object.info != 2 && object.info != 3)
            return fail(Text::tr("object %1 is a real of invalid size").arg(index));
        return true;
    case Date: {
        if (object.info != 3)
            return fail(Text::tr("object %1 is a date of invalid size").arg(index));
        const quint64 bits = readUnsigned(object.start, 8);
        double seconds = 0;
        std::memcpy(&seconds, &bits, sizeof seconds);
        // Years 1 to 9999, the dates the text form can hold.
        constexpr double earliest = -63113904000.0;
        constexpr double latest = 252423993599.0;
        if (!std::isfinite(seconds) || seconds < earliest || seconds > latest)
            return fail(Text::tr("object %1 is a date outside the years 1 to 9999").arg(index));
        return true;
    }
    case AsciiString:
        for (quint64 i = 0; i < object.count; ++i) {
            if (contents[i] == 0 || contents[i] >= 0x80)
                return fail(Text::tr("object %1 is an ASCII string holding the byte 0x%2")
                                .arg(index)
                                .arg(uint(contents[i]), 2, 16, QLatin1Char('0')));
        }
        return true;
    case Utf16String:
        for (quint64 i = 0; i < object.count; ++i) {
            const char16_t unit = char16_t(contents[2 * i] << 8 | contents[2 * i + 1]);
            if (unit == 0)
                return fail(Text::tr("object %1 is text holding a NUL character").arg(index));
            if (QChar::isHighSurrogate(unit) && i + 1 < object.count) {
                const char16_t next = char16_t(contents[2 * i + 2] << 8 | contents[2 * i + 3]);
                if (QChar::isLowSurrogate(next)) {
                    ++i;
                    continue;
                }
            }
            if (QChar::isSurrogate(unit))
                return fail(Text::tr("object %1 is text holding an unpaired surrogate").arg(index));
        }
        return true;
    case Uid:
        if (object.info > 7 || (object.info == 7 && contents[0] & 0x80))
            return fail(Text::tr("object %1 is a UID outside the signed 64-bit range").arg(index));
        return true;
    default:
        return true;
    }
}

bool Checker::visit(quint64 index, int depth) {
    if (depth > PlistCodec::maximumDepth)
        return fail(
            Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth));
    m_state[index] = State::Visiting;
    const std::optional<Object> found = object(index);
    if (!found || !checkContents(*found, index))
        return false;
    quint64 expanded = 1;
    int height = 0;
    if (found->type == Array || found->type == Dict) {
        const quint64 refs = found->type == Dict ? found->count * 2 : found->count;
        for (quint64 i = 0; i < refs; ++i) {
            const quint64 child = readUnsigned(found->start + i * quint64(m_refSize), m_refSize);
            if (child >= m_count)
                return fail(
                    Text::tr("object %1 refers to the missing object %2").arg(index).arg(child));
            if (found->type == Dict && i < found->count) {
                const std::optional<Object> key = object(child);
                if (!key)
                    return false;
                if (key->type != AsciiString && key->type != Utf16String)
                    return fail(Text::tr("object %1 is a dictionary with a key that is not "
                                         "text")
                                    .arg(index));
            }
            if (m_state[child] == State::Visiting)
                return fail(Text::tr("object %1 contains itself").arg(child));
            if (m_state[child] == State::New && !visit(child, depth + 1))
                return false;
            if (depth + 1 + m_height[child] > PlistCodec::maximumDepth)
                return fail(Text::tr("the values are nested more than %1 deep")
                                .arg(PlistCodec::maximumDepth));
            expanded += m_expanded[child];
            height = qMax(height, 1 + int(m_height[child]));
            if (expanded > m_maximumValues)
                return fail(Text::tr("shared references expand to more than %1 values")
                                .arg(m_maximumValues));
        }
    }
    m_expanded[index] = quint32(expanded); // at most m_maximumValues
    m_height[index] = quint16(height);
    m_state[index] = State::Done;
    return true;
}

bool Checker::check() {
    if (m_size < quint64(headerSize) || std::memcmp(m_data, "bplist00", headerSize) != 0)
        return fail(Text::tr("this binary property list version is not supported"));
    if (!readTrailer())
        return false;
    m_state.assign(m_count, State::New);
    m_expanded.assign(m_count, 0);
    m_height.assign(m_count, 0);
    return visit(m_top, 0);
}

// QString::fromUtf8() drops a byte-order mark at the start, which here is text.
QString textOf(const char *utf8, qsizetype size) {
    QString text = QString::fromUtf8(utf8, size);
    if (size >= 3 && std::memcmp(utf8, "\xEF\xBB\xBF", 3) == 0)
        text.prepend(QChar(0xFEFF));
    return text;
}

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistPointer = std::unique_ptr<void, PlistFree>;

// libplist 2.2 hands dates out as 32-bit whole seconds (a truncated double, saturating out of
// range) and the microseconds without their sign. Out of range, the seconds come from its
// XML text of the node, which it writes from the full value.
std::optional<QDateTime> dateOf(plist_t node) {
    int32_t seconds = 0;
    int32_t micros = 0;
    plist_get_date_val(node, &seconds, &micros);
    qint64 whole = seconds;
    if (seconds == std::numeric_limits<int32_t>::min() ||
        seconds == std::numeric_limits<int32_t>::max()) {
        char *xml = nullptr;
        uint32_t length = 0;
        plist_to_xml(node, &xml, &length);
        if (!xml)
            return std::nullopt;
        const QString text = QString::fromUtf8(xml, length);
        plist_to_xml_free(xml);
        const qsizetype start = text.indexOf(QStringLiteral("<date>"));
        const qsizetype end = text.indexOf(QStringLiteral("</date>"));
        if (start < 0 || end < start)
            return std::nullopt;
        const std::optional<QDateTime> date =
            PlistDate::parseXml(QStringView(text).sliced(start + 6, end - start - 6));
        if (!date)
            return std::nullopt;
        whole = date->toMSecsSinceEpoch() / 1000 - PlistDate::referenceMsecs / 1000;
    }
    // Less than a second before 2001 the sign is lost; such a date reads as after 2001.
    const qint64 fraction = (qint64(micros) + 500) / 1000;
    const qint64 msecs = whole * 1000 + (whole < 0 ? -fraction : fraction);
    return QDateTime::fromMSecsSinceEpoch(msecs + PlistDate::referenceMsecs, Qt::UTC);
}

std::optional<PlistValue> convert(plist_t node, QString &error) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return PlistValue(value != 0);
    }
    case PLIST_UINT: {
        // The check lets through only integers that fit 64 signed bits.
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return PlistValue(qint64(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return PlistValue(value);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *text = plist_get_string_ptr(node, &length);
        return PlistValue(textOf(text, qsizetype(length)));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *data = plist_get_data_ptr(node, &length);
        return PlistValue(QByteArray(data, qsizetype(length)));
    }
    case PLIST_DATE:
        if (std::optional<QDateTime> date = dateOf(node))
            return PlistValue(*date);
        error = Text::tr("a date could not be read");
        return std::nullopt;
    case PLIST_UID: {
        uint64_t value = 0;
        plist_get_uid_val(node, &value);
        return PlistValue(PlistDict{{QStringLiteral("CF$UID"), PlistValue(qint64(value))}});
    }
    case PLIST_ARRAY: {
        const uint32_t size = plist_array_get_size(node);
        PlistArray items;
        items.reserve(size);
        for (uint32_t i = 0; i < size; ++i) {
            std::optional<PlistValue> item = convert(plist_array_get_item(node, i), error);
            if (!item)
                return std::nullopt;
            items.append(std::move(*item));
        }
        return PlistValue(items);
    }
    case PLIST_DICT: {
        QList<PlistDict::Entry> entries;
        entries.reserve(plist_dict_get_size(node));
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        const std::unique_ptr<void, decltype(&std::free)> iteratorOwner(iterator, &std::free);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            const std::unique_ptr<char, decltype(&std::free)> keyOwner(key, &std::free);
            if (!key || !value)
                break;
            std::optional<PlistValue> converted = convert(value, error);
            if (!converted)
                return std::nullopt;
            entries.append(
                PlistDict::Entry(textOf(key, qsizetype(std::strlen(key))), std::move(*converted)));
        }
        return PlistValue(PlistDict::fromEntries(std::move(entries)));
    }
    default:
        error = Text::tr("the binary property list holds a value of an unknown type");
        return std::nullopt;
    }
}

} // namespace

PlistReadResult read(const QByteArray &bytes) {
    PlistReadResult result;
    result.format = PlistFormat::Binary;
    if (quint64(bytes.size()) > std::numeric_limits<uint32_t>::max()) {
        result.error = Text::tr("Binary property list: the data is too large.");
        return result;
    }
    Checker checker(bytes);
    if (!checker.check()) {
        result.error = Text::tr("Binary property list: %1.").arg(checker.error());
        return result;
    }
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    const PlistPointer owner(root);
    if (!root) {
        result.error = Text::tr("Binary property list: the data is damaged.");
        return result;
    }
    QString error;
    result.value = convert(root, error);
    if (!result.value)
        result.error = Text::tr("Binary property list: %1.").arg(error);
    return result;
}

} // namespace BinaryPlistReader

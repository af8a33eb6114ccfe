#include "platform/binaryplistreader.h"

#include "platform/plistdate.h"
#include "platform/plistkeys.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace Vandra {

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

// Walks the object table from the top object, converting each object once, after its
// children; a shared object is converted once and its value shared (our values are
// implicitly shared), so reading is linear in the input.
class Checker {
public:
    explicit Checker(const QByteArray &bytes)
        : m_data(reinterpret_cast<const uchar *>(bytes.constData()))
        , m_size(quint64(bytes.size()))
        , m_maximumValues(qMin<quint64>(valuesPerByte * m_size + valuesAlways,
                                        std::numeric_limits<quint32>::max())) {}

    bool check();
    [[nodiscard]] const QString &error() const { return m_error; }
    // The top object's value, once check() succeeded.
    [[nodiscard]] PlistValue takeTop() { return std::move(m_values[m_top]); }

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
    [[nodiscard]] PlistValue scalarOf(const Object &object) const;
    [[nodiscard]] PlistValue collectionOf(const Object &object) const;

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
    std::vector<PlistValue> m_values;
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
            // Sixteen bytes hold an unsigned 64-bit value (high half zero) or a negative
            // one (high half all ones, low half negative); anything else does not fit.
            const bool isUnsigned =
                std::all_of(contents, contents + 8, [](uchar c) { return c == 0; });
            const bool isNegative =
                (contents[8] & 0x80) &&
                std::all_of(contents, contents + 8, [](uchar c) { return c == 0xFF; });
            if (!isUnsigned && !isNegative)
                return fail(
                    Text::tr("object %1 is an integer outside the 64-bit range").arg(index));
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
    m_values[index] =
        found->type == Array || found->type == Dict ? collectionOf(*found) : scalarOf(*found);
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
    m_values.assign(m_count, PlistValue());
    return visit(m_top, 0);
}

double realOf(quint64 bits, int size) {
    if (size == 4) {
        float real = 0;
        const auto half = quint32(bits);
        std::memcpy(&real, &half, sizeof real);
        return double(real);
    }
    double real = 0;
    std::memcpy(&real, &bits, sizeof real);
    return real;
}

PlistValue Checker::scalarOf(const Object &object) const {
    const uchar *contents = m_data + object.start;
    switch (object.type) {
    case Simple:
        return PlistValue(object.info == 0x9);
    case Integer: {
        if (object.info == 4) {
            const quint64 low = readUnsigned(object.start + 8, 8);
            return contents[0] == 0 ? PlistValue(low) : PlistValue(qint64(low));
        }
        // Eight bytes are a signed value; shorter integers are unsigned and fit either way.
        return PlistValue(qint64(readUnsigned(object.start, 1 << object.info)));
    }
    case Real:
        return PlistValue(realOf(readUnsigned(object.start, 1 << object.info), 1 << object.info));
    case Date: {
        // Checked to lie within the years 1 to 9999, so the milliseconds fit.
        const double seconds = realOf(readUnsigned(object.start, 8), 8);
        const auto msecs = qint64(std::llround(seconds * 1000.0));
        return PlistValue(
            QDateTime::fromMSecsSinceEpoch(msecs + PlistDate::referenceMsecs, Qt::UTC));
    }
    case Data:
        return PlistValue(
            QByteArray(reinterpret_cast<const char *>(contents), qsizetype(object.count)));
    case AsciiString:
        // Keys and values alike: a value that is a known key's name shares its text too.
        return PlistValue(PlistKeys::text(
            QByteArrayView(reinterpret_cast<const char *>(contents), qsizetype(object.count))));
    case Utf16String: {
        QString text(qsizetype(object.count), Qt::Uninitialized);
        for (quint64 i = 0; i < object.count; ++i)
            text[qsizetype(i)] = QChar(char16_t(contents[2 * i] << 8 | contents[2 * i + 1]));
        return PlistValue(text);
    }
    case Uid:
        return PlistValue(
            PlistDict{{QStringLiteral("CF$UID"),
                       PlistValue(qint64(readUnsigned(object.start, object.info + 1)))}});
    default:
        return {};
    }
}

PlistValue Checker::collectionOf(const Object &object) const {
    const auto child = [this, &object](quint64 i) -> const PlistValue & {
        return m_values[readUnsigned(object.start + i * quint64(m_refSize), m_refSize)];
    };
    if (object.type == Array) {
        PlistArray items;
        items.reserve(qsizetype(object.count));
        for (quint64 i = 0; i < object.count; ++i)
            items.append(child(i));
        return PlistValue(items);
    }
    QList<PlistDict::Entry> entries;
    entries.reserve(qsizetype(object.count));
    for (quint64 i = 0; i < object.count; ++i)
        entries.append(PlistDict::Entry(*child(i).toString(), child(object.count + i)));
    return PlistValue(PlistDict::fromEntries(std::move(entries)));
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
    result.value = checker.takeTop();
    return result;
}

} // namespace BinaryPlistReader

} // namespace Vandra

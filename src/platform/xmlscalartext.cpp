#include "platform/xmlscalartext.h"

#include <charconv>
#include <limits>

namespace Vandra {

namespace XmlScalarText {

std::optional<PlistValue> parseInteger(QByteArrayView text) {
    text = text.trimmed();
    bool isNegative = false;
    if (!text.isEmpty() && (text.front() == '-' || text.front() == '+')) {
        isNegative = text.front() == '-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text = text.sliced(2);
    }
    if (text.isEmpty())
        return std::nullopt;
    quint64 magnitude = 0;
    for (const char c : text) {
        const char lower = char(c | 0x20);
        const int digit = c >= '0' && c <= '9'                         ? c - '0'
                          : base == 16 && lower >= 'a' && lower <= 'f' ? lower - 'a' + 10
                                                                       : -1;
        if (digit < 0 || digit >= base)
            return std::nullopt;
        if (magnitude > (std::numeric_limits<quint64>::max() - quint64(digit)) / quint64(base))
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
    }
    constexpr quint64 largest = quint64(std::numeric_limits<qint64>::max());
    if (!isNegative)
        return PlistValue(magnitude);
    if (magnitude <= largest)
        return PlistValue(-qint64(magnitude));
    if (magnitude == largest + 1)
        return PlistValue(std::numeric_limits<qint64>::min());
    return std::nullopt;
}

std::optional<double> parseReal(QByteArrayView text) {
    text = text.trimmed();
    if (text.startsWith('+'))
        text = text.sliced(1);
    if (text.isEmpty() || (text.startsWith('-') && text.size() > 1 && text[1] == '+'))
        return std::nullopt;
    double value = 0;
    const char *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

} // namespace XmlScalarText

} // namespace Vandra

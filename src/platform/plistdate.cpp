#include "platform/plistdate.h"

namespace Vandra {

namespace PlistDate {

namespace {

// Reads exactly count digits at pos, or fails.
std::optional<int> digits(QStringView text, qsizetype &pos, int count) {
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = text[pos + i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    pos += count;
    return value;
}

bool take(QStringView text, qsizetype &pos, char16_t c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

} // namespace

std::optional<QDateTime> parseXml(QStringView text) {
    text = text.trimmed();
    qsizetype pos = 0;
    int fields[6] = {0, 1, 1, 0, 0, 0};
    std::optional<int> year = digits(text, pos, 4);
    if (!year)
        return std::nullopt;
    fields[0] = *year;
    // Later fields are optional, each introduced by its separator.
    static constexpr char16_t separators[] = {u'-', u'-', u'T', u':', u':'};
    for (int field = 1; field < 6; ++field) {
        if (!take(text, pos, separators[field - 1]))
            break;
        const std::optional<int> value = digits(text, pos, 2);
        if (!value)
            return std::nullopt;
        fields[field] = *value;
    }
    int msecs = 0;
    if (take(text, pos, u'.')) {
        int scale = 100;
        const qsizetype start = pos;
        while (pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9') {
            msecs += (text[pos].unicode() - u'0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == start)
            return std::nullopt;
    }
    if (!take(text, pos, u'Z') || pos != text.size())
        return std::nullopt;
    const QDate date(fields[0], fields[1], fields[2]);
    if (!date.isValid() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59)
        return std::nullopt;
    return QDateTime(date, QTime(fields[3], fields[4], fields[5], msecs), Qt::UTC);
}

bool isWritable(const QDateTime &date) {
    if (!date.isValid())
        return false;
    const int year = date.toUTC().date().year();
    return year >= 1 && year <= 9999;
}

std::optional<QByteArray> formatXml(const QDateTime &date) {
    if (!isWritable(date))
        return std::nullopt;
    // By hand: QDateTime::toString parses its format on every call.
    const QDateTime utc = date.toUTC();
    const QDate day = utc.date();
    const QTime time = utc.time();
    char text[] = "0000-00-00T00:00:00Z";
    const auto put = [&text](int at, int value, int width) {
        for (int i = width - 1; i >= 0; --i, value /= 10)
            text[at + i] = char('0' + value % 10);
    };
    put(0, day.year(), 4);
    put(5, day.month(), 2);
    put(8, day.day(), 2);
    put(11, time.hour(), 2);
    put(14, time.minute(), 2);
    put(17, time.second(), 2);
    return QByteArray(text, sizeof text - 1);
}

} // namespace PlistDate

} // namespace Vandra

#include "platform/datetexts.h"

#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/measfmt.h>
#include <unicode/measunit.h>
#include <unicode/measure.h>
#include <unicode/reldatefmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <vector>

namespace Vandra {

namespace {

QString localeName() {
    const QString name = QLocale().name();
    // The C locale has no words of its own; English is what its users read.
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return QStringLiteral("en_US");
    return name;
}

QString fromIcu(const icu::UnicodeString &text) {
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

// Dates are formatted from their local fields, in GMT, so that ICU's and Qt's time-zone
// data never have to agree.
UDate noonGmt(const QDate &date) {
    return UDate(QDateTime(date, QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch());
}

// Making ICU formatters is slow; each thread keeps its own while the language stays.
struct Formatters {
    QString locale;
    std::unique_ptr<icu::DateFormat> fullDate;
    std::unique_ptr<icu::DateFormat> shortTime;
    std::unique_ptr<icu::RelativeDateTimeFormatter> relative;
    std::unique_ptr<icu::MeasureFormat> measure;
};

Formatters &formatters() {
    thread_local Formatters cached;
    const QString locale = localeName();
    if (cached.locale == locale && cached.fullDate)
        return cached;
    cached = Formatters();
    cached.locale = locale;
    const icu::Locale icuLocale(locale.toUtf8().constData());
    std::unique_ptr<icu::TimeZone> gmt(icu::TimeZone::createTimeZone(icu::UnicodeString(u"GMT")));

    cached.fullDate.reset(icu::DateFormat::createDateInstance(icu::DateFormat::kFull, icuLocale));
    if (cached.fullDate)
        cached.fullDate->setTimeZone(*gmt);
    cached.shortTime.reset(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, icuLocale));
    if (cached.shortTime)
        cached.shortTime->setTimeZone(*gmt);

    UErrorCode status = U_ZERO_ERROR;
    // A heading stands alone, so its first letter is capitalised where the language does.
    cached.relative = std::make_unique<icu::RelativeDateTimeFormatter>(
        icuLocale, nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_FOR_BEGINNING_OF_SENTENCE,
        status);
    if (U_FAILURE(status))
        cached.relative.reset();
    status = U_ZERO_ERROR;
    cached.measure = std::make_unique<icu::MeasureFormat>(icuLocale, UMEASFMT_WIDTH_WIDE, status);
    if (U_FAILURE(status))
        cached.measure.reset();
    return cached;
}

// ICU's word for a day offset days from today, or empty when the language has none.
QString relativeDay(qint64 offset) {
    static constexpr std::array directions = {UDAT_DIRECTION_LAST_2, UDAT_DIRECTION_LAST,
                                              UDAT_DIRECTION_THIS, UDAT_DIRECTION_NEXT,
                                              UDAT_DIRECTION_NEXT_2};
    if (offset < -2 || offset > 2)
        return {};
    icu::RelativeDateTimeFormatter *formatter = formatters().relative.get();
    if (!formatter)
        return {};
    icu::UnicodeString text;
    UErrorCode status = U_ZERO_ERROR;
    formatter->format(directions[size_t(offset + 2)], UDAT_ABSOLUTE_DAY, text, status);
    return U_FAILURE(status) ? QString() : fromIcu(text);
}

} // namespace

namespace DateTexts {

QString dayHeading(const QDateTime &date, const QDateTime &now, const QTimeZone &zone) {
    const QDate day = date.toTimeZone(zone).date();
    const QString relative = relativeDay(now.toTimeZone(zone).date().daysTo(day));
    if (!relative.isEmpty())
        return relative;
    icu::DateFormat *formatter = formatters().fullDate.get();
    if (!formatter)
        return QLocale().toString(day, QLocale::LongFormat);
    icu::UnicodeString text;
    formatter->format(noonGmt(day), text);
    return fromIcu(text);
}

QString shortTime(const QDateTime &date, const QTimeZone &zone) {
    const QTime time = date.toTimeZone(zone).time();
    icu::DateFormat *formatter = formatters().shortTime.get();
    if (!formatter)
        return QLocale().toString(time, QLocale::ShortFormat);
    icu::UnicodeString text;
    const UDate midnight =
        UDate(QDateTime(QDate(2000, 1, 1), QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch());
    formatter->format(midnight + UDate(time.msecsSinceStartOfDay()), text);
    return fromIcu(text);
}

QString duration(qint64 seconds) {
    if (seconds < 0)
        return {};
    icu::MeasureFormat *formatter = formatters().measure.get();
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 rest = seconds % 60;
    if (!formatter)
        return QStringLiteral("%1:%2:%3")
            .arg(hours)
            .arg(minutes, 2, 10, QLatin1Char('0'))
            .arg(rest, 2, 10, QLatin1Char('0'));

    UErrorCode status = U_ZERO_ERROR;
    std::vector<icu::Measure> measures;
    const auto add = [&](qint64 amount, icu::MeasureUnit *unit) {
        if (U_SUCCESS(status))
            measures.emplace_back(icu::Formattable(int64_t(amount)), unit, status);
        else
            delete unit;
    };
    if (hours > 0)
        add(hours, icu::MeasureUnit::createHour(status));
    if (minutes > 0)
        add(minutes, icu::MeasureUnit::createMinute(status));
    if (rest > 0 || measures.empty())
        add(rest, icu::MeasureUnit::createSecond(status));
    if (U_FAILURE(status))
        return {};
    icu::UnicodeString text;
    icu::FieldPosition position;
    formatter->formatMeasures(measures.data(), int32_t(measures.size()), text, position, status);
    return U_FAILURE(status) ? QString() : fromIcu(text);
}

} // namespace DateTexts

} // namespace Vandra

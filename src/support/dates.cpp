#include "support/dates.h"

#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace Vandra {

namespace Calendar {

QCalendar gregorian() {
    return QCalendar(QCalendar::System::Gregorian);
}

} // namespace Calendar

namespace Date {

int hour(QTime time) {
    return time.hour();
}

int minute(QTime time) {
    return time.minute();
}

int hour(const QDateTime &dateTime) {
    return dateTime.toLocalTime().time().hour();
}

int minute(const QDateTime &dateTime) {
    return dateTime.toLocalTime().time().minute();
}

QStringList weekdays() {
    const QLocale locale;
    QStringList names;
    // Qt counts from Monday (1) to Sunday (7).
    names.append(locale.standaloneDayName(Qt::Sunday, QLocale::LongFormat));
    for (int day = Qt::Monday; day <= Qt::Saturday; ++day)
        names.append(locale.standaloneDayName(day, QLocale::LongFormat));
    return names;
}

QStringList months() {
    const QLocale locale;
    QStringList names;
    for (int month = 1; month <= 12; ++month)
        names.append(locale.standaloneMonthName(month, QLocale::LongFormat));
    return names;
}

QString standardDateFormatter(const QDateTime &dateTime) {
    if (!dateTime.isValid())
        return {};
    // Qt has no medium date style; ICU has. The C locale reads as American English.
    const QLocale locale;
    const QByteArray name =
        locale.language() == QLocale::C ? QByteArrayLiteral("en_US") : locale.name().toLatin1();
    const std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icu::DateFormat::kMedium, icu::DateFormat::kShort, icu::Locale(name.constData())));
    if (!format)
        return locale.toString(dateTime, QLocale::ShortFormat);
    icu::UnicodeString text;
    format->format(UDate(dateTime.toMSecsSinceEpoch()), text);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace Date

} // namespace Vandra

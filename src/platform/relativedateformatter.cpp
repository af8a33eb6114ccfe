#include "relativedateformatter.h"

#include <QLocale>

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace Vandra {

namespace {

icu::Locale formatterLocale() {
    const QString name = QLocale().name();
    // The C locale has no words of its own; English is what its users read.
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        return icu::Locale("en_US");
    return icu::Locale(name.toUtf8().constData());
}

struct CachedFormatter {
    QString localeName;
    std::unique_ptr<icu::DateFormat> formatter;
};

} // namespace

namespace RelativeDateFormatter {

QString format(const QDateTime &dateTime) {
    // Making an ICU formatter is slow; keep one per thread while the locale stays.
    thread_local CachedFormatter cached;
    const QString localeName = QLocale().name();
    if (!cached.formatter || cached.localeName != localeName) {
        cached.localeName = localeName;
        cached.formatter.reset(icu::DateFormat::createDateTimeInstance(
            icu::DateFormat::EStyle(icu::DateFormat::kShort | icu::DateFormat::kRelative),
            icu::DateFormat::kMedium, formatterLocale()));
    }
    if (!cached.formatter)
        return QLocale().toString(dateTime, QLocale::ShortFormat);
    icu::UnicodeString text;
    cached.formatter->format(UDate(dateTime.toMSecsSinceEpoch()), text);
    return QString(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
}

} // namespace RelativeDateFormatter

} // namespace Vandra

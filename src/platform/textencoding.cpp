#include "platform/textencoding.h"

#include <QHash>

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>

#include <limits>
#include <memory>

namespace Vandra {

namespace {

using Converter = std::unique_ptr<UConverter, decltype(&ucnv_close)>;

Converter openConverter(const QString &name) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(name.toLatin1().constData(), &status), &ucnv_close);
    if (U_FAILURE(status))
        return Converter(nullptr, &ucnv_close);
    // Stop at the first byte or character that has no counterpart instead of substituting.
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    if (U_FAILURE(status))
        return Converter(nullptr, &ucnv_close);
    return converter;
}

struct Mark {
    const char *bytes;
    qsizetype size;
    const char *encoding;
};

// Longer marks first: UTF-32LE's mark begins with UTF-16LE's.
constexpr Mark marks[] = {
    {"\xFF\xFE\x00\x00", 4, "UTF-32LE"}, {"\x00\x00\xFE\xFF", 4, "UTF-32BE"},
    {"\xEF\xBB\xBF", 3, "UTF-8"},        {"\xFE\xFF", 2, "UTF-16BE"},
    {"\xFF\xFE", 2, "UTF-16LE"},
};

} // namespace

TextEncoding TextEncoding::utf8() {
    return TextEncoding(QStringLiteral("UTF-8"), false);
}

std::optional<TextEncoding> TextEncoding::named(const QString &name, bool hasByteOrderMark) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const Converter converter = openConverter(trimmed);
    if (!converter)
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const char *canonical = ucnv_getName(converter.get(), &status);
    if (U_FAILURE(status) || canonical == nullptr)
        return std::nullopt;
    // The MIME name is the one people write ("ISO-8859-1", not "ISO_8859-1:1987").
    for (const char *standard : {"MIME", "IANA"}) {
        status = U_ZERO_ERROR;
        const char *name = ucnv_getStandardName(canonical, standard, &status);
        if (U_SUCCESS(status) && name != nullptr)
            return TextEncoding(QString::fromLatin1(name), hasByteOrderMark);
    }
    return TextEncoding(QString::fromLatin1(canonical), hasByteOrderMark);
}

std::optional<TextEncoding> TextEncoding::fromByteOrderMark(const QByteArray &bytes) {
    for (const Mark &mark : marks) {
        if (bytes.startsWith(QByteArrayView(mark.bytes, mark.size)))
            return named(QString::fromLatin1(mark.encoding), true);
    }
    return std::nullopt;
}

std::optional<TextEncoding> TextEncoding::fromAttributeValue(const QByteArray &value) {
    const QString text = QString::fromUtf8(value);
    return named(text.section(u';', 0, 0));
}

TextEncoding TextEncoding::system() {
    return named(QString::fromLatin1(ucnv_getDefaultName())).value_or(utf8());
}

int TextEncoding::mibEnum() const {
    static const QHash<QString, int> numbers{
        {QStringLiteral("US-ASCII"), 3},        {QStringLiteral("ISO-8859-1"), 4},
        {QStringLiteral("ISO-8859-2"), 5},      {QStringLiteral("ISO-8859-5"), 8},
        {QStringLiteral("ISO-8859-7"), 10},     {QStringLiteral("ISO-8859-9"), 12},
        {QStringLiteral("ISO-8859-15"), 111},   {QStringLiteral("SHIFT_JIS"), 17},
        {QStringLiteral("EUC-JP"), 18},         {QStringLiteral("EUC-KR"), 38},
        {QStringLiteral("ISO-2022-JP"), 39},    {QStringLiteral("UTF-8"), 106},
        {QStringLiteral("GBK"), 113},           {QStringLiteral("GB18030"), 114},
        {QStringLiteral("UTF-16BE"), 1013},     {QStringLiteral("UTF-16LE"), 1014},
        {QStringLiteral("UTF-16"), 1015},       {QStringLiteral("UTF-32"), 1017},
        {QStringLiteral("UTF-32BE"), 1018},     {QStringLiteral("UTF-32LE"), 1019},
        {QStringLiteral("BIG5"), 2026},         {QStringLiteral("KOI8-R"), 2084},
        {QStringLiteral("WINDOWS-1250"), 2250}, {QStringLiteral("WINDOWS-1251"), 2251},
        {QStringLiteral("WINDOWS-1252"), 2252}, {QStringLiteral("WINDOWS-1253"), 2253},
        {QStringLiteral("WINDOWS-1254"), 2254}, {QStringLiteral("WINDOWS-1256"), 2256},
    };
    constexpr int unknown = 2;
    return numbers.value(m_name.toUpper(), unknown);
}

QByteArray TextEncoding::attributeValue() const {
    return m_name.toUtf8() + ';' + QByteArray::number(mibEnum());
}

QByteArray TextEncoding::byteOrderMark() const {
    for (const Mark &mark : marks) {
        if (m_name.compare(QLatin1StringView(mark.encoding), Qt::CaseInsensitive) == 0)
            return QByteArray(mark.bytes, mark.size);
    }
    return {};
}

std::optional<QString> TextEncoding::decode(const QByteArray &bytes) const {
    const Converter converter = openConverter(m_name);
    if (!converter)
        return std::nullopt;
    QByteArrayView input(bytes);
    const QByteArray mark = byteOrderMark();
    if (!mark.isEmpty() && input.startsWith(mark))
        input = input.sliced(mark.size());
    if (input.size() > std::numeric_limits<int32_t>::max() / 4)
        return std::nullopt;
    // No encoding ICU has turns one byte into more than two UTF-16 units.
    QString text(input.size() * 2 + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        ucnv_toUChars(converter.get(), reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                      input.data(), int32_t(input.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

std::optional<QByteArray> TextEncoding::encode(const QString &text) const {
    const Converter converter = openConverter(m_name);
    if (!converter || text.size() > std::numeric_limits<int32_t>::max() / 8)
        return std::nullopt;
    const auto *source = reinterpret_cast<const UChar *>(text.constData());
    UErrorCode status = U_ZERO_ERROR;
    const int32_t needed =
        ucnv_fromUChars(converter.get(), nullptr, 0, source, int32_t(text.size()), &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return std::nullopt;
    QByteArray bytes(needed + 1, Qt::Uninitialized);
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter.get());
    const int32_t length = ucnv_fromUChars(converter.get(), bytes.data(), int32_t(bytes.size()),
                                           source, int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.truncate(length);
    return m_hasByteOrderMark ? byteOrderMark() + bytes : bytes;
}

std::optional<QString> TextEncoding::firstUnencodable(const QString &text) const {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const QString character = text.mid(i, length);
        if (!encode(character))
            return character;
        i += length - 1;
    }
    return std::nullopt;
}

} // namespace Vandra

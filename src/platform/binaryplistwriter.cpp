#include "platform/binaryplistwriter.h"

#include "platform/plistcodec.h"
#include "platform/plistdate.h"

#include <QCoreApplication>

#include <plist/plist.h>

#include <limits>
#include <memory>

namespace BinaryPlistWriter {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(PlistCodec)
};

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using PlistPointer = std::unique_ptr<void, PlistFree>;

// The UTF-8 of text libplist can take whole.
std::optional<QByteArray> utf8Of(const QString &text, QString &error) {
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c.isNull()) {
            error = Text::tr("the text holds a NUL character");
            return std::nullopt;
        }
        if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            error = Text::tr("the text holds a lone surrogate, which is not a character");
            return std::nullopt;
        }
    }
    return text.toUtf8();
}

PlistPointer convert(const PlistValue &value, int depth, QString &error) {
    if (depth > PlistCodec::maximumDepth) {
        error = Text::tr("the values are nested more than %1 deep").arg(PlistCodec::maximumDepth);
        return nullptr;
    }
    switch (value.type()) {
    case PlistValue::Type::None:
        error = Text::tr("there is no value");
        return nullptr;
    case PlistValue::Type::String: {
        const std::optional<QByteArray> utf8 = utf8Of(*value.toString(), error);
        return utf8 ? PlistPointer(plist_new_string(utf8->constData())) : nullptr;
    }
    case PlistValue::Type::Boolean:
        return PlistPointer(plist_new_bool(*value.toBool() ? 1 : 0));
    case PlistValue::Type::Integer:
        // libplist keeps integers as 64 bits and writes those above INT64_MAX as signed.
        return PlistPointer(plist_new_uint(uint64_t(*value.toInteger())));
    case PlistValue::Type::Real:
        return PlistPointer(plist_new_real(*value.toReal()));
    case PlistValue::Type::Date: {
        const QDateTime date = *value.toDate();
        if (!date.isValid()) {
            error = Text::tr("the date is invalid");
            return nullptr;
        }
        const qint64 msecs = date.toMSecsSinceEpoch() - PlistDate::referenceMsecs;
        // Whole seconds rounded down, so that the microseconds are never negative.
        const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
        const qint64 micros = (msecs - seconds * 1000) * 1000;
        if (seconds < std::numeric_limits<int32_t>::min() ||
            seconds > std::numeric_limits<int32_t>::max()) {
            error = Text::tr("the binary form holds dates from 1933 to 2069 only");
            return nullptr;
        }
        return PlistPointer(plist_new_date(int32_t(seconds), int32_t(micros)));
    }
    case PlistValue::Type::Data: {
        const QByteArray data = *value.toData();
        return PlistPointer(plist_new_data(data.constData(), uint64_t(data.size())));
    }
    case PlistValue::Type::Array: {
        PlistPointer array(plist_new_array());
        const PlistArray &items = *value.array();
        for (qsizetype i = 0; i < items.size(); ++i) {
            PlistPointer item = convert(items[i], depth + 1, error);
            if (!item) {
                error = Text::tr("[%1]: %2").arg(i).arg(error);
                return nullptr;
            }
            plist_array_append_item(array.get(), item.release());
        }
        return array;
    }
    case PlistValue::Type::Dictionary: {
        PlistPointer dict(plist_new_dict());
        for (const PlistDict::Entry &entry : *value.dict()) {
            const std::optional<QByteArray> key = utf8Of(entry.first, error);
            PlistPointer item = key ? convert(entry.second, depth + 1, error) : nullptr;
            if (!item) {
                error = Text::tr("“%1”: %2").arg(entry.first, error);
                return nullptr;
            }
            plist_dict_set_item(dict.get(), key->constData(), item.release());
        }
        return dict;
    }
    }
    return nullptr;
}

} // namespace

std::optional<QByteArray> write(const PlistValue &value, QString *error) {
    QString message;
    const PlistPointer root = convert(value, 0, message);
    if (!root) {
        if (error)
            *error = Text::tr("Cannot write the binary property list: %1.").arg(message);
        return std::nullopt;
    }
    char *bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    if (!bytes) {
        if (error)
            *error = Text::tr("Cannot write the binary property list.");
        return std::nullopt;
    }
    QByteArray result(bytes, qsizetype(length));
    plist_to_bin_free(bytes);
    return result;
}

} // namespace BinaryPlistWriter

#include "platform/labelcollator.h"

#include <QLocale>

#include <unicode/ucol.h>

#include <algorithm>
#include <memory>

namespace Vandra {

namespace LabelCollator {

namespace {

struct CollatorClose {
    void operator()(UCollator *collator) const { ucol_close(collator); }
};
using CollatorPointer = std::unique_ptr<UCollator, CollatorClose>;

// ICU directly rather than QCollator: QCollator's numeric mode does nothing in the C locale,
// which is where the tests and many services run.
CollatorPointer openCollator() {
    QString name = QLocale::system().collation().name();
    if (name.isEmpty() || name == u"C" || name == u"POSIX")
        name = QStringLiteral("root");
    UErrorCode status = U_ZERO_ERROR;
    CollatorPointer collator(ucol_open(name.toLatin1().constData(), &status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        collator.reset(ucol_open("root", &status));
        if (U_FAILURE(status))
            return nullptr;
    }
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    // Secondary strength: accents count, case does not.
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
    return collator;
}

// Opening is the costly part; each thread opens its collator once and keeps it.
UCollator *threadCollator() {
    thread_local const CollatorPointer collator = openCollator();
    return collator.get();
}

} // namespace

int compare(const QString &a, const QString &b) {
    UCollator *const collator = threadCollator();
    if (!collator)
        return QString::compare(a, b, Qt::CaseInsensitive);
    return ucol_strcoll(collator, reinterpret_cast<const UChar *>(a.constData()), int32_t(a.size()),
                        reinterpret_cast<const UChar *>(b.constData()), int32_t(b.size()));
}

void appendSortKey(const QString &label, QByteArray &keys) {
    UCollator *const collator = threadCollator();
    if (!collator) {
        // The folded text's UTF-16 units, high byte first, compare as compare() does then.
        for (const QChar c : label.toCaseFolded())
            keys.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xff));
        return;
    }
    const auto *text = reinterpret_cast<const UChar *>(label.constData());
    const qsizetype start = keys.size();
    // Most keys fit in this; a longer one is made again in the room it asks for.
    constexpr qsizetype firstGuess = 96;
    for (qsizetype room = firstGuess;;) {
        keys.resize(start + room);
        const int32_t length =
            ucol_getSortKey(collator, text, int32_t(label.size()),
                            reinterpret_cast<uint8_t *>(keys.data() + start), int32_t(room));
        if (length <= room) {
            // Without the closing zero, which no other byte of a key is.
            keys.truncate(start + std::max<qsizetype>(length - 1, 0));
            return;
        }
        room = length;
    }
}

} // namespace LabelCollator

} // namespace Vandra

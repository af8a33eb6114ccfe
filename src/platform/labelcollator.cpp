#include "platform/labelcollator.h"

#include <QLocale>

#include <unicode/ucol.h>

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

} // namespace

int compare(const QString &a, const QString &b) {
    // Opening is the costly part; each thread opens its collator once and keeps it.
    thread_local const CollatorPointer collator = openCollator();
    if (!collator)
        return QString::compare(a, b, Qt::CaseInsensitive);
    return ucol_strcoll(collator.get(), reinterpret_cast<const UChar *>(a.constData()),
                        int32_t(a.size()), reinterpret_cast<const UChar *>(b.constData()),
                        int32_t(b.size()));
}

} // namespace LabelCollator

} // namespace Vandra

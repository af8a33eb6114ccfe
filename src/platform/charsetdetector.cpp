#include "platform/charsetdetector.h"

#include <unicode/ucsdet.h>

#include <algorithm>
#include <limits>
#include <memory>

std::optional<QString> CharsetDetector::mostLikely(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                              &ucsdet_close);
    if (U_FAILURE(status))
        return std::nullopt;
    const auto length =
        int32_t(std::min<qsizetype>(bytes.size(), std::numeric_limits<int32_t>::max()));
    ucsdet_setText(detector.get(), bytes.constData(), length, &status);
    const UCharsetMatch *match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr)
        return std::nullopt;
    const char *name = ucsdet_getName(match, &status);
    if (U_FAILURE(status) || name == nullptr)
        return std::nullopt;
    return QString::fromLatin1(name);
}

// libFuzzer entry point for the property-list readers and writers; see HACKING.md here.
#include "../tests/platform/wholeseconds.h"
#include "platform/plistcodec.h"
#include "platform/xmlplistreader.h"
#include "platform/xmlplistscanner.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    // The XML scanner's shortcut must read what it takes exactly as the full reader does.
    if (const std::optional<PlistValue> scanned = XmlPlistScanner::read(input)) {
        const PlistReadResult full = XmlPlistReader::read(input);
        if (!full.ok() || !(*full.value == *scanned) ||
            PlistCodec::toXml(*full.value) != PlistCodec::toXml(*scanned))
            std::abort();
    }
    const PlistReadResult result = PlistCodec::read(input);
    if (!result.ok()) {
        if (result.error.isEmpty())
            std::abort();
        return 0;
    }
    // What reads must write and read back the same (XML to the second), or be refused.
    QString error;
    if (const std::optional<QByteArray> xml = PlistCodec::toXml(*result.value, &error)) {
        const PlistReadResult again = PlistCodec::read(*xml);
        if (!again.ok() || !(*again.value == withWholeSeconds(*result.value)))
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();
    }
    if (const std::optional<QByteArray> binary = PlistCodec::toBinary(*result.value, &error)) {
        const PlistReadResult again = PlistCodec::read(*binary);
        if (!again.ok() || !(*again.value == *result.value))
            std::abort();
    }
    return 0;
}

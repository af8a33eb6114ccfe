#pragma once

#include "platform/plistvalue.h"

namespace Vandra {

// The value as XML gives it back: XML holds dates to the second only.
inline PlistValue withWholeSeconds(const PlistValue &value) {
    if (const std::optional<QDateTime> date = value.toDate()) {
        const qint64 msecs = date->toMSecsSinceEpoch();
        return PlistValue(
            QDateTime::fromMSecsSinceEpoch(msecs - (msecs % 1000 + 1000) % 1000, Qt::UTC));
    }
    if (const PlistArray *items = value.array()) {
        PlistArray copy;
        for (const PlistValue &item : *items)
            copy.append(withWholeSeconds(item));
        return PlistValue(copy);
    }
    if (const PlistDict *dict = value.dict()) {
        PlistDict copy;
        for (const PlistDict::Entry &entry : *dict)
            copy.insert(entry.first, withWholeSeconds(entry.second));
        return PlistValue(copy);
    }
    return value;
}

} // namespace Vandra

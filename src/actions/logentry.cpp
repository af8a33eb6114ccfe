#include "logentry.h"

namespace Vandra {

namespace LogEntries {

std::optional<QList<LogEntry>> fromValue(const PlistValue &value) {
    const PlistArray *array = value.array();
    if (!array)
        return std::nullopt;
    QList<LogEntry> entries;
    entries.reserve(array->size());
    for (const PlistValue &element : *array) {
        const PlistDict *map = element.dict();
        if (!map)
            return std::nullopt;
        for (const auto &[key, text] : *map) {
            const auto message = text.toString();
            QDateTime date = QDateTime::fromString(key, Qt::ISODateWithMs);
            if (!message || !date.isValid())
                return std::nullopt;
            entries.append({std::move(date), *message});
        }
    }
    return entries;
}

PlistArray toValue(const QList<LogEntry> &entries) {
    PlistArray array;
    array.reserve(entries.size());
    for (const LogEntry &entry : entries) {
        PlistDict map;
        map.insert(timeStamp(entry.date), entry.message);
        array.append(map);
    }
    return array;
}

QString timeStamp(const QDateTime &date) {
    return date.toUTC().toString(Qt::ISODateWithMs);
}

} // namespace LogEntries

} // namespace Vandra

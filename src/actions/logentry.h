#pragma once

#include "platform/plistvalue.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// One log line a helper found: when it was written and what it says.
//
// On the wire a log reply is an array of maps from a time stamp to a message. Property-list
// keys are texts, so the time stamp is written in ISO 8601 with milliseconds, in UTC.
struct LogEntry {
    QDateTime date;
    QString message;

    friend bool operator==(const LogEntry &, const LogEntry &) = default;
};

namespace LogEntries {

// The entries of a reply's "logQuery" value, in order; none when it is not an array of maps
// from time stamps to texts.
[[nodiscard]] std::optional<QList<LogEntry>> fromValue(const PlistValue &value);
// The wire form of entries, one map per entry.
[[nodiscard]] PlistArray toValue(const QList<LogEntry> &entries);
[[nodiscard]] QString timeStamp(const QDateTime &date);

} // namespace LogEntries

} // namespace Vandra

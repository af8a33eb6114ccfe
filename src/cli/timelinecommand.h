#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

// vandractl timeline [--root R] [--system] [--now ISO-8601] [--json]: when the listed jobs
// run in the month after now, as the timeline shows it.
namespace TimelineCommand {

int run(const QStringList &arguments);
// A moment written in ISO 8601; without an offset it is a time of the local zone.
[[nodiscard]] std::optional<QDateTime> parseMoment(const QString &text);
// The moment in ISO 8601 with its zone's offset ("2026-03-29T08:00:00+02:00").
[[nodiscard]] QString isoText(const QDateTime &moment);

} // namespace TimelineCommand

#pragma once

#include <QDateTime>
#include <QStringList>

#include <optional>

namespace Vandra {

// vandractl timeline [--root R] [--system] [--now ISO-8601] [--until DATE] [--limit N] [--json]:
// when the listed jobs run in the month after now (or until a date), as the timeline shows it.
// Rows are printed as they are made, so a long period needs no more memory than a short one.
namespace TimelineCommand {

int run(const QStringList &arguments);
// A moment written in ISO 8601; without an offset it is a time of the local zone.
[[nodiscard]] std::optional<QDateTime> parseMoment(const QString &text);
// The end of a period: a date (its midnight in the local zone) or a moment, in ISO 8601.
[[nodiscard]] std::optional<QDateTime> parseEnd(const QString &text);
// The moment in ISO 8601 with its zone's offset ("2026-03-29T08:00:00+02:00").
[[nodiscard]] QString isoText(const QDateTime &moment);

} // namespace TimelineCommand

} // namespace Vandra

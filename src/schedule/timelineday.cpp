#include "schedule/timelineday.h"

#include "schedule/timelinebuilder.h"

namespace Vandra {

namespace {

constexpr qint64 msPerMinute = 60 * 1000;
// Local clocks differ from UTC by at most 14 hours.
constexpr qint64 offsetReach = 15 * 3600;

bool changesClocks(const QTimeZone &zone, qint64 start) {
    if (!zone.hasTransitions())
        return false;
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(start, QTimeZone::utc());
    const QDateTime to = from.addSecs(qint64(TimelineDay::minutesPerDay) * 60 - 1);
    return !zone.transitions(from, to).isEmpty();
}

} // namespace

TimelineDay::TimelineDay(const QDate &date, const QTimeZone &zone)
    : m_date(date) {
    const std::optional<qint64> start = TimelineBuilder::firstSecond(date, QTime(0, 0), zone);
    if (start && !changesClocks(zone, *start * 1000)) {
        m_start = *start * 1000;
        return;
    }
    // The offsets in force around the day, from its transitions: a local time occurs under
    // an offset when the moment it gives has that offset, and the earliest such moment is its
    // first occurrence. Asking the zone once per minute would take thousands of look-ups.
    const qint64 midnight = QDateTime(date, QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
    const QDateTime from = QDateTime::fromSecsSinceEpoch(midnight - offsetReach, QTimeZone::utc());
    const QDateTime to =
        QDateTime::fromSecsSinceEpoch(midnight + 24 * 3600 + offsetReach, QTimeZone::utc());
    QList<std::pair<qint64, int>> offsets{
        {std::numeric_limits<qint64>::min(), zone.offsetFromUtc(from)}};
    for (const QTimeZone::OffsetData &transition : zone.transitions(from, to))
        offsets.append({transition.atUtc.toSecsSinceEpoch(), transition.offsetFromUtc});
    const auto offsetAt = [&offsets](qint64 second) {
        int offset = offsets.constFirst().second;
        for (const auto &[since, after] : offsets) {
            if (since <= second)
                offset = after;
        }
        return offset;
    };
    m_moments.resize(minutesPerDay);
    for (int minute = 0; minute < minutesPerDay; ++minute) {
        const qint64 local = midnight + minute * 60;
        qint64 first = noMoment;
        for (const auto &[since, offset] : std::as_const(offsets)) {
            const qint64 candidate = local - offset;
            if (offsetAt(candidate) == offset && (first == noMoment || candidate < first))
                first = candidate;
        }
        m_moments[minute] = first == noMoment ? noMoment : first * 1000;
    }
}

std::optional<qint64> TimelineDay::moment(int minute) const {
    if (m_moments.isEmpty())
        return m_start + minute * msPerMinute;
    const qint64 moment = m_moments.at(minute);
    if (moment == noMoment)
        return std::nullopt;
    return moment;
}

} // namespace Vandra

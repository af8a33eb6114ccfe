#include "schedule/timelineday.h"

#include "schedule/timelinebuilder.h"

namespace {

constexpr qint64 msPerMinute = 60 * 1000;

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
    m_moments.resize(minutesPerDay);
    for (int minute = 0; minute < minutesPerDay; ++minute) {
        const std::optional<qint64> second =
            TimelineBuilder::firstSecond(date, QTime(minute / 60, minute % 60), zone);
        m_moments[minute] = second ? *second * 1000 : noMoment;
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

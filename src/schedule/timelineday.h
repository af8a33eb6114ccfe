#pragma once

#include <QDate>
#include <QList>
#include <QTimeZone>

#include <limits>
#include <optional>

namespace Vandra {

// The clock of one local day in a time zone: at which moment each of its minutes is first
// shown. On most days that is the start of the day plus the minutes; on a day whose clocks
// change, some minutes never come and some come twice, and each is looked up once.
class TimelineDay final {
public:
    static constexpr int minutesPerDay = 24 * 60;

    TimelineDay(const QDate &date, const QTimeZone &zone);

    [[nodiscard]] const QDate &date() const { return m_date; }
    // The first moment, in milliseconds since the epoch, at which the clock shows the minute
    // of the day (0 for 00:00); none for a minute the clocks skip.
    [[nodiscard]] std::optional<qint64> moment(int minute) const;
    // Every minute of the day occurs once, a minute after the one before.
    [[nodiscard]] bool isPlain() const { return m_moments.isEmpty(); }
    // The moment of 00:00 on a plain day.
    [[nodiscard]] qint64 start() const { return m_start; }
    [[nodiscard]] qsizetype heldBytes() const { return m_moments.capacity() * sizeof(qint64); }

private:
    static constexpr qint64 noMoment = std::numeric_limits<qint64>::min();

    QDate m_date;
    qint64 m_start = 0;
    QList<qint64> m_moments; // per minute, on a day whose clocks change
};

} // namespace Vandra

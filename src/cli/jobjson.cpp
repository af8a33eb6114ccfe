#include "cli/jobjson.h"

#include <QTime>

#include <array>

namespace Vandra {

using namespace Qt::Literals::StringLiterals;

namespace {

QLatin1StringView ruleKindName(Scheduled::Kind kind) {
    switch (kind) {
    case Scheduled::Kind::repeatInterval:
        return "repeatInterval"_L1;
    case Scheduled::Kind::everyHour:
        return "everyHour"_L1;
    case Scheduled::Kind::everyDay:
        return "everyDay"_L1;
    case Scheduled::Kind::dayOfWeek:
        return "dayOfWeek"_L1;
    case Scheduled::Kind::dayOfMonth:
        return "dayOfMonth"_L1;
    case Scheduled::Kind::dayOfYear:
        return "dayOfYear"_L1;
    }
    return {};
}

QLatin1StringView unitName(Scheduled::RepeatInterval::Unit unit) {
    switch (unit) {
    case Scheduled::RepeatInterval::Unit::seconds:
        return "seconds"_L1;
    case Scheduled::RepeatInterval::Unit::minutes:
        return "minutes"_L1;
    case Scheduled::RepeatInterval::Unit::hours:
        return "hours"_L1;
    case Scheduled::RepeatInterval::Unit::days:
        return "days"_L1;
    }
    return {};
}

// "HH:mm" without going through QTime::toString and its format parser.
void writeTime(JsonWriter &writer, const QTime &time) {
    if (!time.isValid()) {
        writer.value(QLatin1StringView());
        return;
    }
    const std::array<char, 5> text = {char('0' + time.hour() / 10), char('0' + time.hour() % 10),
                                      ':', char('0' + time.minute() / 10),
                                      char('0' + time.minute() % 10)};
    writer.value(QLatin1StringView(text.data(), qsizetype(text.size())));
}

template <typename T> void writeValue(JsonWriter &writer, const T &value) {
    writer.value(value);
}

void writeValue(JsonWriter &writer, Kind kind) {
    writer.value(Kinds::name(kind));
}

void writeValue(JsonWriter &writer, const QList<ScheduledType> &rules) {
    writer.beginArray();
    for (const ScheduledType &rule : rules)
        JobJson::writeRule(writer, rule);
    writer.endArray();
}

template <typename T> void writeValue(JsonWriter &writer, const std::optional<T> &maybe) {
    if (maybe)
        writeValue(writer, *maybe);
    else
        writer.value(nullptr);
}

} // namespace

namespace JobJson {

void writeRule(JsonWriter &writer, const ScheduledType &rule) {
    writer.beginObject();
    std::visit(
        [&writer](const auto &r) {
            using R = std::decay_t<decltype(r)>;
            writer.key("kind"_L1);
            writer.value(ruleKindName(r.kind));
            if constexpr (std::is_same_v<R, Scheduled::RepeatInterval>) {
                writer.key("interval"_L1);
                writer.value(r.interval);
                writer.key("unit"_L1);
                writer.value(unitName(r.unit));
            } else if constexpr (std::is_same_v<R, Scheduled::EveryHour>) {
                writer.key("minute"_L1);
                writer.value(r.minute);
            } else {
                if constexpr (std::is_same_v<R, Scheduled::DayOfYear>) {
                    writer.key("month"_L1);
                    writer.value(r.month);
                }
                if constexpr (!std::is_same_v<R, Scheduled::EveryDay>) {
                    writer.key("day"_L1);
                    writer.value(r.day);
                }
                writer.key("time"_L1);
                writeTime(writer, r.time);
            }
        },
        rule);
    writer.endObject();
}

void writeFields(JsonWriter &writer, Job &job) {
    forEachField(job, [&writer](QLatin1StringView name, const auto &value) {
        writer.key(name);
        writeValue(writer, value);
    });
}

} // namespace JobJson

} // namespace Vandra

#include "cli/jobjson.h"

#include <QJsonValue>

namespace {

template <typename T> QJsonValue orNull(const std::optional<T> &value) {
    if (!value)
        return QJsonValue::Null;
    return QJsonValue(*value);
}

QString timeText(const QTime &time) {
    return time.toString(QStringLiteral("HH:mm"));
}

const char *ruleKindName(Scheduled::Kind kind) {
    switch (kind) {
    case Scheduled::Kind::repeatInterval:
        return "repeatInterval";
    case Scheduled::Kind::everyHour:
        return "everyHour";
    case Scheduled::Kind::everyDay:
        return "everyDay";
    case Scheduled::Kind::dayOfWeek:
        return "dayOfWeek";
    case Scheduled::Kind::dayOfMonth:
        return "dayOfMonth";
    case Scheduled::Kind::dayOfYear:
        return "dayOfYear";
    }
    return "";
}

const char *unitName(Scheduled::RepeatInterval::Unit unit) {
    switch (unit) {
    case Scheduled::RepeatInterval::Unit::seconds:
        return "seconds";
    case Scheduled::RepeatInterval::Unit::minutes:
        return "minutes";
    case Scheduled::RepeatInterval::Unit::hours:
        return "hours";
    case Scheduled::RepeatInterval::Unit::days:
        return "days";
    }
    return "";
}

} // namespace

namespace JobJson {

QJsonObject fromRule(const ScheduledType &rule) {
    QJsonObject object;
    std::visit(
        [&object](const auto &r) {
            using R = std::decay_t<decltype(r)>;
            object.insert(QStringLiteral("kind"), QLatin1String(ruleKindName(r.kind)));
            if constexpr (std::is_same_v<R, Scheduled::RepeatInterval>) {
                object.insert(QStringLiteral("interval"), r.interval);
                object.insert(QStringLiteral("unit"), QLatin1String(unitName(r.unit)));
            } else if constexpr (std::is_same_v<R, Scheduled::EveryHour>) {
                object.insert(QStringLiteral("minute"), r.minute);
            } else {
                if constexpr (std::is_same_v<R, Scheduled::DayOfYear>)
                    object.insert(QStringLiteral("month"), r.month);
                if constexpr (!std::is_same_v<R, Scheduled::EveryDay>)
                    object.insert(QStringLiteral("day"), r.day);
                object.insert(QStringLiteral("time"), timeText(r.time));
            }
        },
        rule);
    return object;
}

QJsonObject fromJob(Job &job) {
    QJsonObject object;
    object.insert(QStringLiteral("label"), job.label);
    object.insert(QStringLiteral("kind"),
                  job.kind ? QJsonValue(Kinds::name(*job.kind)) : QJsonValue());
    object.insert(QStringLiteral("run"), job.run());
    object.insert(QStringLiteral("summary"), orNull(job.summary));
    object.insert(QStringLiteral("isEnabled"), job.isEnabled());
    object.insert(QStringLiteral("keepAlive"), orNull(job.keepAlive()));
    object.insert(QStringLiteral("isKeepAliveSuccessfulExitSet"),
                  orNull(job.isKeepAliveSuccessfulExitSet()));
    object.insert(QStringLiteral("watchPath"), orNull(job.watchPath()));
    object.insert(QStringLiteral("machServicesKey"), orNull(job.machServicesKey()));
    object.insert(QStringLiteral("isMachServicesEnabled"), job.isMachServicesEnabled);
    object.insert(QStringLiteral("limitLoadToSessionTypeIndex"),
                  orNull(job.limitLoadToSessionTypeIndex()));
    object.insert(QStringLiteral("isLimitLoadToSessionTypeEnabled"),
                  job.isLimitLoadToSessionTypeEnabled());
    object.insert(QStringLiteral("isUserNameEnabled"), job.isUserNameEnabled);
    object.insert(QStringLiteral("isLocked"), job.isLocked());
    object.insert(QStringLiteral("isScheduledEnabled"), job.isScheduledEnabled);
    object.insert(QStringLiteral("runIcon"), orNull(job.runIcon));
    if (job.scheduled) {
        QJsonArray rules;
        for (const ScheduledType &rule : std::as_const(*job.scheduled))
            rules.append(fromRule(rule));
        object.insert(QStringLiteral("scheduled"), rules);
    } else {
        object.insert(QStringLiteral("scheduled"), QJsonValue::Null);
    }
    return object;
}

} // namespace JobJson

#include "cli/timelinecommand.h"

#include "cli/clioutput.h"
#include "cli/jsonwriter.h"
#include "platform/datetexts.h"
#include "schedule/timelinebuilder.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QTimeZone>

using namespace Qt::Literals::StringLiterals;

namespace {

QLatin1StringView kindName(TimelineKind kind) {
    switch (kind) {
    case TimelineKind::group:
        return "group"_L1;
    case TimelineKind::time:
        return "time"_L1;
    case TimelineKind::interval:
        return "interval"_L1;
    }
    return {};
}

QString rowText(const Timeline &row, const QTimeZone &zone) {
    const QString disabled = row.isEnabled ? QString() : QStringLiteral(" (disabled)");
    switch (row.kind) {
    case TimelineKind::group:
        return row.name + QLatin1Char('\n');
    case TimelineKind::time:
        return QStringLiteral("  ") + DateTexts::shortTime(row.date, zone) + QLatin1Char('\t') +
               row.name + disabled + QLatin1Char('\n');
    case TimelineKind::interval:
        return QStringLiteral("  ") + row.name + disabled + QLatin1Char('\n');
    }
    return {};
}

} // namespace

namespace TimelineCommand {

std::optional<QDateTime> parseMoment(const QString &text) {
    QDateTime moment = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    if (!moment.isValid())
        return std::nullopt;
    if (moment.timeSpec() == Qt::LocalTime)
        moment = QDateTime(moment.date(), moment.time(), QTimeZone::systemTimeZone());
    return moment.isValid() ? std::optional<QDateTime>(moment) : std::nullopt;
}

QString isoText(const QDateTime &moment) {
    const int offset = moment.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("system"), QStringLiteral("Also list the system's jobs.")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON.")});
    parser.addOption({QStringLiteral("now"), QStringLiteral("The moment to start from."),
                      QStringLiteral("ISO-8601")});
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (!parser.positionalArguments().isEmpty())
        return CliOutput::fail(QStringLiteral("timeline takes no file"), 2);

    const QTimeZone zone = QTimeZone::systemTimeZone();
    QDateTime now = QDateTime::currentDateTime();
    if (parser.isSet(QStringLiteral("now"))) {
        const std::optional<QDateTime> moment = parseMoment(parser.value(QStringLiteral("now")));
        if (!moment)
            return CliOutput::fail(QStringLiteral("--now takes a moment in ISO 8601, such as "
                                                  "2026-03-29T08:00:00+02:00"),
                                   2);
        now = *moment;
    }

    const QList<JobPtr> jobs = JobDiscovery::discoverJobs(parser.isSet(QStringLiteral("system")));
    TimelineBuilder builder(now, zone);
    const std::optional<QList<Timeline>> rows = builder.buildTimeline(jobs);
    if (!rows)
        return CliOutput::fail(QStringLiteral("no month can follow that moment"));

    if (parser.isSet(QStringLiteral("json"))) {
        JsonWriter writer;
        writer.beginArray();
        for (const Timeline &row : *rows) {
            writer.beginObject();
            writer.key("kind"_L1);
            writer.value(kindName(row.kind));
            writer.key("date"_L1);
            writer.value(isoText(row.date.toTimeZone(zone)));
            writer.key("name"_L1);
            writer.value(row.name);
            writer.key("isEnabled"_L1);
            writer.value(row.isEnabled);
            writer.key("path"_L1);
            writer.value(row.url);
            writer.endObject();
        }
        writer.endArray();
        return CliOutput::printBytes(writer.data());
    }
    QString out;
    for (const Timeline &row : *rows)
        out += rowText(row, zone);
    return CliOutput::print(out);
}

} // namespace TimelineCommand

#include "cli/timelinecommand.h"

#include "cli/clioutput.h"
#include "cli/jsonwriter.h"
#include "platform/datetexts.h"
#include "schedule/virtualtimeline.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimeZone>

#include <limits>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

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
    const QString disabled = row.isEnabled ? QString() : Texts::tr(" (disabled)");
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

// Output goes out in pieces of about this size, so that it never all waits in memory.
constexpr qsizetype chunkBytes = 64 * 1024;

int printJson(VirtualTimeline &timeline, qint64 count) {
    const QTimeZone &zone = timeline.zone();
    JsonWriter writer;
    writer.beginArray();
    for (qint64 index = 0; index < count; ++index) {
        const Timeline row = timeline.row(index);
        writer.beginObject();
        writer.key("kind"_L1);
        writer.value(kindName(row.kind));
        writer.key("date"_L1);
        writer.value(TimelineCommand::isoText(row.date.toTimeZone(zone)));
        writer.key("name"_L1);
        writer.value(row.name);
        writer.key("isEnabled"_L1);
        writer.value(row.isEnabled);
        writer.key("path"_L1);
        writer.value(row.url);
        writer.endObject();
        if (writer.data().size() >= chunkBytes) {
            if (const int code = CliOutput::printBytes(writer.take()))
                return code;
        }
    }
    writer.endArray();
    return CliOutput::printBytes(writer.data());
}

int printText(VirtualTimeline &timeline, qint64 count) {
    QString out;
    for (qint64 index = 0; index < count; ++index) {
        out += rowText(timeline.row(index), timeline.zone());
        if (out.size() >= chunkBytes) {
            if (const int code = CliOutput::print(out))
                return code;
            out.clear();
        }
    }
    return CliOutput::print(out);
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

std::optional<QDateTime> parseEnd(const QString &text) {
    const QString trimmed = text.trimmed();
    // QDate would also read the date part of a moment and drop its time.
    const QDate date = trimmed.size() == 10 ? QDate::fromString(trimmed, Qt::ISODate) : QDate();
    if (date.isValid()) {
        const QDateTime midnight(date, QTime(0, 0), QTimeZone::systemTimeZone());
        return midnight.isValid() ? std::optional<QDateTime>(midnight) : std::nullopt;
    }
    return parseMoment(text);
}

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("system"), Texts::tr("Also list the system's jobs.")});
    parser.addOption({QStringLiteral("json"), Texts::tr("Print JSON.")});
    parser.addOption({QStringLiteral("now"), Texts::tr("The moment to start from."),
                      QStringLiteral("ISO-8601")});
    parser.addOption({QStringLiteral("until"),
                      Texts::tr("The end of the period (a month after the start unless "
                                "given); a date alone means its midnight."),
                      QStringLiteral("DATE")});
    parser.addOption(
        {QStringLiteral("limit"), Texts::tr("Print at most N rows."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("root"), Texts::tr("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (!parser.positionalArguments().isEmpty())
        return CliOutput::fail(Texts::tr("timeline takes no file"), 2);

    const QTimeZone zone = QTimeZone::systemTimeZone();
    QDateTime now = QDateTime::currentDateTime();
    if (parser.isSet(QStringLiteral("now"))) {
        const std::optional<QDateTime> moment = parseMoment(parser.value(QStringLiteral("now")));
        if (!moment)
            return CliOutput::fail(Texts::tr("--now takes a moment in ISO 8601, such as "
                                             "2026-03-29T08:00:00+02:00"),
                                   2);
        now = *moment;
    }
    std::optional<QDateTime> until;
    if (parser.isSet(QStringLiteral("until"))) {
        until = parseEnd(parser.value(QStringLiteral("until")));
        if (!until)
            return CliOutput::fail(Texts::tr("--until takes a date or a moment in ISO 8601, "
                                             "such as 2026-04-01 or 2026-04-01T12:00"),
                                   2);
    }
    qint64 limit = std::numeric_limits<qint64>::max();
    if (parser.isSet(QStringLiteral("limit"))) {
        bool isNumber = false;
        limit = parser.value(QStringLiteral("limit")).toLongLong(&isNumber);
        if (!isNumber || limit < 0)
            return CliOutput::fail(Texts::tr("--limit takes a number of rows, 0 or more"), 2);
    }

    const QList<JobPtr> jobs = JobDiscovery::discoverJobs(parser.isSet(QStringLiteral("system")));
    VirtualTimeline timeline =
        until ? VirtualTimeline(jobs, now, *until, zone) : VirtualTimeline(jobs, now, zone);
    if (!timeline.isValid())
        return CliOutput::fail(Texts::tr("no month can follow that moment"));
    const qint64 count = std::min(timeline.rowCount(), limit);
    return parser.isSet(QStringLiteral("json")) ? printJson(timeline, count)
                                                : printText(timeline, count);
}

} // namespace TimelineCommand

} // namespace Vandra

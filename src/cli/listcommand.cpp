#include "cli/listcommand.h"

#include "actions/jobstatussource.h"
#include "cli/clioutput.h"
#include "cli/jobjson.h"
#include "cli/jsonwriter.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

namespace Vandra {

using namespace Qt::Literals::StringLiterals;

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

// The JSON text is written out in pieces of about this size.
constexpr qsizetype outputPiece = 256 * 1024;

void writeDate(JsonWriter &writer, QLatin1StringView name, const std::optional<QDateTime> &date) {
    writer.key(name);
    if (date)
        writer.value(date->toUTC().toString(Qt::ISODate));
    else
        writer.value(nullptr);
}

// The job's live status as the helper service tells it: null when the helper did not
// answer, or for machine-wide jobs, which it does not load.
void writeStatus(JsonWriter &writer, const Job &job, const JobStatusSource *source) {
    writer.key("status"_L1);
    if (!source || !job.kind || ActionController::isMachineWide(*job.kind)) {
        writer.value(nullptr);
        return;
    }
    const JobStatus status = source->status(job.label).value_or(JobStatus());
    writer.beginObject();
    writer.key("isLoaded"_L1);
    writer.value(status.isLoaded);
    writer.key("isRunning"_L1);
    writer.value(status.isRunning);
    writer.key("pid"_L1);
    writer.value(status.pid);
    writer.key("lastExitStatus"_L1);
    writer.value(status.lastExitStatus);
    writeDate(writer, "lastExitTime"_L1, status.lastExitTime);
    writeDate(writer, "nextRun"_L1, status.nextRun);
    writer.endObject();
}

// Asks the helper service for the status of its jobs; none when it cannot be reached.
std::unique_ptr<JobStatusSource> askStatus() {
    auto source = std::make_unique<JobStatusSource>(ActionController::Setup::standard());
    bool isAnswered = false;
    // Goes with this call, and with it the connections that know isAnswered.
    const QObject context;
    QObject::connect(source.get(), &JobStatusSource::answered, &context, [&isAnswered] {
        isAnswered = true;
        QCoreApplication::exit();
    });
    QObject::connect(source.get(), &JobStatusSource::unreachable, &context,
                     [] { QCoreApplication::exit(); });
    source->start();
    if (source->isStarted())
        QCoreApplication::exec();
    if (!isAnswered)
        return nullptr;
    return source;
}

} // namespace

namespace ListCommand {

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("system"), Texts::tr("Also list the system's jobs.")});
    parser.addOption({QStringLiteral("json"), Texts::tr("Print JSON.")});
    parser.addOption({QStringLiteral("root"), Texts::tr("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (!parser.positionalArguments().isEmpty())
        return CliOutput::fail(Texts::tr("list takes no file"), 2);

    // The listing prints only the fields read from the files, never the files' dictionaries.
    DiscoveryOptions options =
        DiscoveryOptions::fromSettings(parser.isSet(QStringLiteral("system")));
    options.keepsDictionaries = false;
    const QList<JobPtr> jobs =
        JobDiscovery::discoverJobs(options, JobDiscovery::defaultThreadCount());
    if (parser.isSet(QStringLiteral("json"))) {
        const std::unique_ptr<JobStatusSource> status = askStatus();
        // Written out a piece at a time: the whole text would cost as much memory again as
        // the records.
        JsonWriter writer;
        writer.reserve(outputPiece + 64 * 1024);
        writer.beginArray();
        for (const JobPtr &job : jobs) {
            writer.beginObject();
            JobJson::writeFields(writer, *job);
            writer.key("path"_L1);
            writer.value(job->url);
            writeStatus(writer, *job, status.get());
            writer.endObject();
            if (writer.data().size() >= outputPiece) {
                if (const int failed = CliOutput::printBytes(writer.take()))
                    return failed;
                writer.reserve(outputPiece + 64 * 1024);
            }
        }
        writer.endArray();
        return CliOutput::printBytes(writer.data());
    }
    QString out;
    for (const JobPtr &job : jobs) {
        out += (job->kind ? Kinds::name(*job->kind) : QString()) + QLatin1Char('\t') + job->label +
               QLatin1Char('\t') + job->url.value_or(QString()) + QLatin1Char('\n');
    }
    return CliOutput::print(out);
}

} // namespace ListCommand

} // namespace Vandra

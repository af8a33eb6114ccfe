#include "cli/listcommand.h"

#include "cli/clioutput.h"
#include "cli/jobjson.h"
#include "cli/jsonwriter.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>

using namespace Qt::Literals::StringLiterals;

namespace ListCommand {

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("system"), QStringLiteral("Also list the system's jobs.")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON.")});
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (!parser.positionalArguments().isEmpty())
        return CliOutput::fail(QStringLiteral("list takes no file"), 2);

    const QList<JobPtr> jobs = JobDiscovery::discoverJobs(parser.isSet(QStringLiteral("system")));
    if (parser.isSet(QStringLiteral("json"))) {
        // A record takes about a kilobyte; a little more room spares copying the whole text.
        JsonWriter writer;
        writer.reserve(1536 * (jobs.size() + 1));
        writer.beginArray();
        for (const JobPtr &job : jobs) {
            writer.beginObject();
            JobJson::writeFields(writer, *job);
            writer.key("path"_L1);
            writer.value(job->url);
            writer.endObject();
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

#include "cli/listcommand.h"

#include "cli/clioutput.h"
#include "cli/jobjson.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>

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
        QJsonArray array;
        for (const JobPtr &job : jobs) {
            QJsonObject object = JobJson::fromJob(*job);
            object.insert(QStringLiteral("path"), job->url ? QJsonValue(*job->url) : QJsonValue());
            array.append(object);
        }
        CliOutput::printJson(QJsonDocument(array));
        return 0;
    }
    QString out;
    for (const JobPtr &job : jobs) {
        out += (job->kind ? Kinds::name(*job->kind) : QString()) + QLatin1Char('\t') + job->label +
               QLatin1Char('\t') + job->url.value_or(QString()) + QLatin1Char('\n');
    }
    CliOutput::print(out);
    return 0;
}

} // namespace ListCommand

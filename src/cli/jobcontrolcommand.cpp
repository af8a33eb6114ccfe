#include "cli/jobcontrolcommand.h"

#include "actions/actioncontroller.h"
#include "cli/clioutput.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace JobControlCommand {

int run(const QStringList &arguments, bool isStart) {
    const QString name = isStart ? QStringLiteral("start") : QStringLiteral("stop");
    QCommandLineParser parser;
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("Root folder."), QStringLiteral("root")});
    parser.addPositionalArgument(QStringLiteral("label"), QStringLiteral("The job's label."));
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (parser.positionalArguments().size() != 1)
        return CliOutput::fail(QStringLiteral("usage: vandractl %1 LABEL").arg(name), 2);
    const QString label = parser.positionalArguments().constFirst();

    JobPtr job;
    for (const JobPtr &candidate : JobDiscovery::discoverJobs(true)) {
        if (candidate->label == label && candidate->kind && candidate->plist) {
            job = candidate;
            break;
        }
    }
    if (!job)
        return CliOutput::fail(QStringLiteral("no job is labelled %1").arg(label));

    ActionController controller(ActionController::Setup::standard());
    int exitCode = 1;
    QString message;
    const auto onReply = [&](const PlistDict &reply) {
        if (const PlistValue *error = reply.find(ActionKey::error); error && error->dict()) {
            const QString description =
                error->dict()->value(ActionKey::description).toString().value_or(QString());
            message = description.isEmpty()
                          ? QStringLiteral("the helper could not %1 %2").arg(name, label)
                          : description;
        } else {
            exitCode = 0;
        }
        QCoreApplication::exit();
    };
    const bool privileged = ActionController::isMachineWide(*job->kind);
    const bool isSent = isStart ? controller.startJob(label, privileged, onReply)
                                : controller.stopJob(label, privileged, onReply);
    if (!isSent)
        return CliOutput::fail(QStringLiteral("cannot reach the helper to %1 %2").arg(name, label));
    QCoreApplication::exec();
    if (exitCode != 0)
        return CliOutput::fail(message);
    return CliOutput::print(isStart ? QStringLiteral("started %1\n").arg(label)
                                    : QStringLiteral("stopped %1\n").arg(label));
}

} // namespace JobControlCommand

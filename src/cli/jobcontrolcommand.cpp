#include "cli/jobcontrolcommand.h"

#include "actions/actioncontroller.h"
#include "cli/clioutput.h"
#include "store/jobdiscovery.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

namespace JobControlCommand {

int run(const QStringList &arguments, bool isStart) {
    const QString name = isStart ? QStringLiteral("start") : QStringLiteral("stop");
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("root"), Texts::tr("Root folder."), QStringLiteral("root")});
    parser.addPositionalArgument(QStringLiteral("label"), Texts::tr("The job's label."));
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (parser.positionalArguments().size() != 1)
        return CliOutput::fail(Texts::tr("usage: vandractl %1 LABEL").arg(name), 2);
    const QString label = parser.positionalArguments().constFirst();

    JobPtr job;
    for (const JobPtr &candidate : JobDiscovery::discoverJobs(true)) {
        if (candidate->label == label && candidate->kind && candidate->plist) {
            job = candidate;
            break;
        }
    }
    if (!job)
        return CliOutput::fail(Texts::tr("no job is labelled %1").arg(label));

    ActionController controller(ActionController::Setup::standard());
    int exitCode = 1;
    QString message;
    const auto onReply = [&](const PlistDict &reply) {
        if (const PlistValue *error = reply.find(ActionKey::error); error && error->dict()) {
            const QString description =
                error->dict()->value(ActionKey::description).toString().value_or(QString());
            message = description.isEmpty() ? (isStart ? Texts::tr("the helper could not start %1")
                                                       : Texts::tr("the helper could not stop %1"))
                                                  .arg(label)
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
        return CliOutput::fail((isStart ? Texts::tr("cannot reach the helper to start %1")
                                        : Texts::tr("cannot reach the helper to stop %1"))
                                   .arg(label));
    QCoreApplication::exec();
    if (exitCode != 0)
        return CliOutput::fail(message);
    return CliOutput::print(
        (isStart ? Texts::tr("started %1") : Texts::tr("stopped %1")).arg(label) +
        QLatin1Char('\n'));
}

} // namespace JobControlCommand

} // namespace Vandra

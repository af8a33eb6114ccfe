#include "cli/writecommand.h"

#include "cli/clioutput.h"
#include "cli/jobfieldsetter.h"
#include "cli/jobfilecommand.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobwriter.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/whenswitches.h"
#include "store/jobdiff.h"

#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

namespace WriteCommand {

int run(const QStringList &arguments) {
    JobFileCommand command(
        QStringLiteral("write"),
        {{QStringLiteral("set"), Texts::tr("An edit, FIELD=VALUE."), QStringLiteral("assignment")},
         {QStringLiteral("diff"), Texts::tr("Print what the save would change, as a diff.")}});
    if (const int exitCode = command.read(arguments))
        return exitCode;

    // Show the job as the editor would, so that edits record their changes.
    const JobPtr job = command.job();
    JobList::shared().setCurrentJob(job);
    Bindings::shared().update(job);
    RuleEditorModel editor;
    WhenSwitches when(editor);
    when.load();
    when.update();

    JobFieldSetter setter(*job, when);
    for (const QString &assignment : command.parser().values(QStringLiteral("set"))) {
        const QString problem = setter.apply(assignment);
        if (!problem.isEmpty())
            return CliOutput::fail(problem, 2);
    }

    if (command.parser().isSet(QStringLiteral("diff"))) {
        const JobDiff diff = JobDiff::forJob(*job, &editor.rows());
        return CliOutput::print(diff.summary() + QLatin1Char('\n') + diff.unified());
    }
    const std::optional<QString> text = JobWriter::fileText(*job, &editor.rows());
    if (!text)
        return CliOutput::fail(Texts::tr("the job cannot be written as a property list"));
    return CliOutput::print(*text);
}

} // namespace WriteCommand

} // namespace Vandra

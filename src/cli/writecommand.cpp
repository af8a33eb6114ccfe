#include "cli/writecommand.h"

#include "cli/clioutput.h"
#include "cli/jobfieldsetter.h"
#include "model/bindings.h"
#include "model/joblist.h"
#include "model/jobreader.h"
#include "model/jobwriter.h"
#include "schedule/ruleeditormodel.h"
#include "schedule/whenswitches.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace WriteCommand {

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The job file."));
    parser.addOption({QStringLiteral("kind"), QStringLiteral("Kind of the folder it is in."),
                      QStringLiteral("kind"), QStringLiteral("userAgent")});
    parser.addOption({QStringLiteral("set"), QStringLiteral("An edit, FIELD=VALUE."),
                      QStringLiteral("assignment")});
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (parser.positionalArguments().size() != 1)
        return CliOutput::fail(QStringLiteral("write takes one job file"), 2);
    const std::optional<Kind> kind = Kinds::fromName(parser.value(QStringLiteral("kind")));
    if (!kind)
        return CliOutput::fail(
            QStringLiteral("unknown kind %1").arg(parser.value(QStringLiteral("kind"))), 2);

    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();
    QList<JobPtr> jobs;
    JobReader::readJobFile(*kind, file, jobs);
    if (jobs.isEmpty())
        return CliOutput::fail(QStringLiteral("%1 holds no job").arg(file));

    // Show the job as the editor would, so that edits record their changes.
    const JobPtr job = jobs.first();
    JobList::shared().setCurrentJob(job);
    Bindings::shared().update(job);
    RuleEditorModel editor;
    WhenSwitches when(editor);
    when.load();
    when.update();

    JobFieldSetter setter(*job, when);
    for (const QString &assignment : parser.values(QStringLiteral("set"))) {
        const QString problem = setter.apply(assignment);
        if (!problem.isEmpty())
            return CliOutput::fail(problem, 2);
    }

    const std::optional<QString> text = JobWriter::fileText(*job, &editor.rows());
    if (!text)
        return CliOutput::fail(QStringLiteral("the job cannot be written as a property list"));
    CliOutput::print(*text);
    return 0;
}

} // namespace WriteCommand

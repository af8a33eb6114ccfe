#include "cli/jobfilecommand.h"

#include "cli/clioutput.h"
#include "model/jobreader.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

JobFileCommand::JobFileCommand(const QString &name, const QList<QCommandLineOption> &options)
    : m_name(name) {
    m_parser.addPositionalArgument(QStringLiteral("file"), Texts::tr("The job file."));
    m_parser.addOption({QStringLiteral("kind"), Texts::tr("Kind of the folder it is in."),
                        QStringLiteral("kind"), QStringLiteral("userAgent")});
    m_parser.addOption({QStringLiteral("root"), Texts::tr("Root folder."), QStringLiteral("root")});
    m_parser.addOptions(options);
}

int JobFileCommand::read(const QStringList &arguments) {
    if (!m_parser.parse(arguments))
        return CliOutput::fail(m_parser.errorText(), 2);
    if (m_parser.positionalArguments().size() != 1)
        return CliOutput::fail(Texts::tr("%1 takes one job file").arg(m_name), 2);
    const QString kindName = m_parser.value(QStringLiteral("kind"));
    const std::optional<Kind> kind = Kinds::fromName(kindName);
    if (!kind)
        return CliOutput::fail(Texts::tr("unknown kind %1").arg(kindName), 2);

    const QString file = QFileInfo(m_parser.positionalArguments().first()).absoluteFilePath();
    QList<JobPtr> jobs;
    JobReader::readJobFile(*kind, file, jobs);
    if (jobs.isEmpty())
        return CliOutput::fail(Texts::tr("%1 holds no job").arg(file));
    m_job = jobs.first();
    return 0;
}

} // namespace Vandra

#include "cli/clioutput.h"
#include "cli/doctorcommand.h"
#include "cli/helperscommand.h"
#include "cli/jobcontrolcommand.h"
#include "cli/listcommand.h"
#include "cli/showcommand.h"
#include "cli/timelinecommand.h"
#include "cli/unitscommand.h"
#include "cli/writecommand.h"
#include "model/programobjects.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/translations.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

using namespace Vandra;

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

// The commands' synopses stay as they are typed; only the words around them are translated.
const char commands[] =
    "  show FILE [--kind KIND] [--json]\n"
    "  write FILE [--kind KIND] [--set FIELD=VALUE]... [--diff]\n"
    "  doctor FILE|--all [--system] [--kind KIND] [--json]\n"
    "  list [--system] [--json]\n"
    "  timeline [--system] [--now ISO-8601] [--until DATE] [--limit N] [--json]\n"
    "  helpers\n"
    "  units FILE [--kind KIND]\n"
    "  start LABEL\n"
    "  stop LABEL\n";

QString usage() {
    return Texts::tr("usage: vandractl COMMAND [--root R] ...") + QLatin1Char('\n') +
           Texts::tr("commands:") + QLatin1Char('\n') + QLatin1String(commands);
}

// Ends a command that only read and printed: the output is flushed and the process ends
// without freeing what it read, which for many jobs takes longer than reading them. Sanitizer
// builds return normally, so that their leak check still sees everything freed.
int endAfterPrinting(int code) {
#if defined(__SANITIZE_ADDRESS__)
    return code;
#else
    // Output that could not be written is a failure, as in a normal exit.
    if (std::fflush(stdout) != 0 && code == 0)
        code = 1;
    std::fflush(stderr);
    std::_Exit(code);
#endif
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandractl"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANDRA_VERSION));
    Translations::install(app);

    const QStringList arguments = QCoreApplication::arguments();
    Locations::initialize(Locations::rootFromArguments(arguments));
    const ProgramObjects objects;
    Defaults::shared().registerDefaults();

    const QString command = arguments.value(1);
    QStringList rest = arguments;
    if (rest.size() > 1)
        rest.removeAt(1);
    if (command == QLatin1String("show"))
        return ShowCommand::run(rest);
    if (command == QLatin1String("write"))
        return WriteCommand::run(rest);
    if (command == QLatin1String("doctor"))
        return DoctorCommand::run(rest);
    if (command == QLatin1String("list"))
        return endAfterPrinting(ListCommand::run(rest));
    if (command == QLatin1String("timeline"))
        return endAfterPrinting(TimelineCommand::run(rest));
    if (command == QLatin1String("helpers"))
        return HelpersCommand::run(rest);
    if (command == QLatin1String("units"))
        return UnitsCommand::run(rest);
    if (command == QLatin1String("start") || command == QLatin1String("stop"))
        return JobControlCommand::run(rest, command == QLatin1String("start"));
    if (command == QLatin1String("--help") || command == QLatin1String("-h"))
        return CliOutput::print(usage());
    std::fputs(usage().toLocal8Bit().constData(), stderr);
    return command.isEmpty() ? 2 : CliOutput::fail(Texts::tr("unknown command %1").arg(command), 2);
}

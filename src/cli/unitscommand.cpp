#include "cli/unitscommand.h"

#include "cli/clioutput.h"
#include "cli/jobfilecommand.h"

#include <QCoreApplication>

#include <cstdio>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

namespace UnitsCommand {

std::optional<SystemdScope> scopeOf(Kind kind) {
    switch (kind) {
    case Kind::userAgent:
        return SystemdScope::user;
    case Kind::localAgent:
    case Kind::systemAgent:
        return SystemdScope::allUsers;
    case Kind::localDaemon:
    case Kind::systemDaemon:
        return SystemdScope::system;
    default:
        return std::nullopt;
    }
}

int run(const QStringList &arguments) {
    JobFileCommand command(QStringLiteral("units"), {});
    if (const int exitCode = command.read(arguments))
        return exitCode;
    const Job &job = *command.job();
    const auto scope = job.kind ? scopeOf(*job.kind) : std::nullopt;
    if (!scope || !job.plist || !job.url)
        return CliOutput::fail(Texts::tr("only agents and daemons become units"), 2);

    const SystemdUnits units = SystemdUnitGenerator::generate(*job.plist, *scope, *job.url);
    for (const SystemdNote &note : units.notes)
        std::fprintf(stderr, "%s: %s\n", qPrintable(note.key), qPrintable(note.reason));
    if (units.units.isEmpty())
        return CliOutput::fail(Texts::tr("the job becomes no units"));
    QString out;
    for (const SystemdUnit &unit : units.units)
        out += QStringLiteral("# ") + unit.name + QLatin1Char('\n') + unit.text;
    return CliOutput::print(out);
}

} // namespace UnitsCommand

} // namespace Vandra

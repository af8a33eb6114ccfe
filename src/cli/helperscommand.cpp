#include "cli/helperscommand.h"

#include "actions/helperprograms.h"
#include "cli/clioutput.h"

#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

namespace HelpersCommand {

int run(const QStringList &arguments) {
    Q_UNUSED(arguments)
    QString text;
    bool isComplete = true;
    for (const QString &name : {HelperPrograms::serviceName, HelperPrograms::privilegedName}) {
        const std::optional<QString> path = HelperPrograms::find(name);
        isComplete = isComplete && path.has_value();
        text +=
            name + QStringLiteral(": ") + path.value_or(Texts::tr("not found")) + QLatin1Char('\n');
    }
    const int printed = CliOutput::print(text);
    if (!isComplete)
        return CliOutput::fail(Texts::tr("a helper program is missing"));
    return printed;
}

} // namespace HelpersCommand

} // namespace Vandra

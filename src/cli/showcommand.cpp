#include "cli/showcommand.h"

#include "cli/clioutput.h"
#include "cli/jobfilecommand.h"
#include "cli/jobjson.h"

#include <QJsonDocument>

namespace {

QString text(const QJsonValue &value) {
    if (value.isNull())
        return QStringLiteral("none");
    if (value.isBool())
        return value.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
    if (value.isDouble())
        return QString::number(value.toInteger());
    if (value.isArray()) {
        QStringList rules;
        for (const QJsonValue &rule : value.toArray())
            rules << QString::fromUtf8(
                QJsonDocument(rule.toObject()).toJson(QJsonDocument::Compact));
        return rules.join(QStringLiteral("\n    "));
    }
    return value.toString();
}

} // namespace

namespace ShowCommand {

int run(const QStringList &arguments) {
    JobFileCommand command(QStringLiteral("show"),
                           {{QStringLiteral("json"), QStringLiteral("Print JSON.")}});
    if (const int exitCode = command.read(arguments))
        return exitCode;

    const QJsonObject object = JobJson::fromJob(*command.job());
    if (command.parser().isSet(QStringLiteral("json"))) {
        CliOutput::printJson(QJsonDocument(object));
        return 0;
    }
    QString out;
    const QStringList order = {QStringLiteral("label"),
                               QStringLiteral("kind"),
                               QStringLiteral("run"),
                               QStringLiteral("summary"),
                               QStringLiteral("isEnabled"),
                               QStringLiteral("keepAlive"),
                               QStringLiteral("isKeepAliveSuccessfulExitSet"),
                               QStringLiteral("watchPath"),
                               QStringLiteral("machServicesKey"),
                               QStringLiteral("isMachServicesEnabled"),
                               QStringLiteral("limitLoadToSessionTypeIndex"),
                               QStringLiteral("isLimitLoadToSessionTypeEnabled"),
                               QStringLiteral("isUserNameEnabled"),
                               QStringLiteral("isLocked"),
                               QStringLiteral("isScheduledEnabled"),
                               QStringLiteral("runIcon"),
                               QStringLiteral("scheduled")};
    for (const QString &key : order)
        out += key + QStringLiteral(": ") + text(object.value(key)) + QLatin1Char('\n');
    CliOutput::print(out);
    return 0;
}

} // namespace ShowCommand

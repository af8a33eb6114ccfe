#include "cli/showcommand.h"

#include "cli/clioutput.h"
#include "cli/jobjson.h"
#include "model/jobreader.h"

#include <QCommandLineParser>
#include <QFileInfo>
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
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The job file."));
    parser.addOption({QStringLiteral("kind"), QStringLiteral("Kind of the folder it is in."),
                      QStringLiteral("kind"), QStringLiteral("userAgent")});
    parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON.")});
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), 2);
    if (parser.positionalArguments().size() != 1)
        return CliOutput::fail(QStringLiteral("show takes one job file"), 2);

    const std::optional<Kind> kind = Kinds::fromName(parser.value(QStringLiteral("kind")));
    if (!kind)
        return CliOutput::fail(
            QStringLiteral("unknown kind %1").arg(parser.value(QStringLiteral("kind"))), 2);
    const QString file = QFileInfo(parser.positionalArguments().first()).absoluteFilePath();

    QList<JobPtr> jobs;
    JobReader::readJobFile(*kind, file, jobs);
    if (jobs.isEmpty())
        return CliOutput::fail(QStringLiteral("%1 holds no job").arg(file));

    const QJsonObject object = JobJson::fromJob(*jobs.first());
    if (parser.isSet(QStringLiteral("json"))) {
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

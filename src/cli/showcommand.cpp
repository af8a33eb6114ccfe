#include "cli/showcommand.h"

#include "cli/clioutput.h"
#include "cli/jobfilecommand.h"
#include "cli/jobjson.h"
#include "cli/jsonwriter.h"
#include "model/keepalivetext.h"

#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

// The text form of each field value: "none", "yes" or "no", the number, the text, and the
// schedule rules as compact JSON, one a line.
QString text(const QString &value) {
    return value;
}

QString text(bool isTrue) {
    return isTrue ? QStringLiteral("yes") : QStringLiteral("no");
}

QString text(qint64 number) {
    return QString::number(number);
}

QString text(Kind kind) {
    return Kinds::name(kind);
}

QString text(const QList<ScheduledType> &rules) {
    QStringList lines;
    for (const ScheduledType &rule : rules) {
        JsonWriter writer(JsonWriter::Layout::compact);
        JobJson::writeRule(writer, rule);
        lines << QString::fromUtf8(writer.data());
    }
    return lines.join(QStringLiteral("\n    "));
}

template <typename T> QString text(const std::optional<T> &maybe) {
    return maybe ? text(*maybe) : QStringLiteral("none");
}

} // namespace

namespace ShowCommand {

int run(const QStringList &arguments) {
    JobFileCommand command(QStringLiteral("show"),
                           {{QStringLiteral("json"), Texts::tr("Print JSON.")}});
    if (const int exitCode = command.read(arguments))
        return exitCode;

    Job &job = *command.job();
    if (command.parser().isSet(QStringLiteral("json"))) {
        JsonWriter writer;
        writer.beginObject();
        JobJson::writeFields(writer, job);
        writer.endObject();
        return CliOutput::printBytes(writer.data());
    }
    QString out;
    JobJson::forEachField(job, [&out, &job](QLatin1StringView name, const auto &value) {
        // A KeepAlive dictionary keeps the job alive only under its conditions; say which.
        const QString shown = name == QLatin1String("keepAlive") && job.plist
                                  ? KeepAliveText::describe(*job.plist)
                                  : text(value);
        out += name + QStringLiteral(": ") + shown + QLatin1Char('\n');
    });
    return CliOutput::print(out);
}

} // namespace ShowCommand

} // namespace Vandra

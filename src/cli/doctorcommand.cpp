#include "cli/doctorcommand.h"

#include "cli/clioutput.h"
#include "cli/jsonwriter.h"
#include "model/kind.h"
#include "store/jobdoctor.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(vandractl)
};

} // namespace

using namespace Qt::Literals::StringLiterals;

namespace {

struct Examined {
    QString path;
    Findings findings;
};

const QList<Kind> &jobFolderKinds(bool withSystem) {
    static const QList<Kind> local = {Kind::userAgent, Kind::localAgent, Kind::localDaemon};
    static const QList<Kind> all = local + QList<Kind>{Kind::systemAgent, Kind::systemDaemon};
    return withSystem ? all : local;
}

// The kind whose folder holds file; a file elsewhere is taken for a user agent.
Kind kindOfFile(const QString &file) {
    const QString folder = QFileInfo(file).absolutePath();
    for (const Kind kind : jobFolderKinds(true)) {
        if (const std::optional<QString> url = Kinds::url(kind);
            url && QDir::cleanPath(*url) == folder)
            return kind;
    }
    return Kind::userAgent;
}

QList<Examined> examineAll(const JobDoctor &doctor, bool withSystem) {
    QList<Examined> examined;
    for (const Kind kind : jobFolderKinds(withSystem)) {
        const std::optional<QString> folder = Kinds::url(kind);
        if (!folder)
            continue;
        const QFileInfoList entries =
            QDir(*folder).entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QFileInfo &entry : entries)
            examined.append({entry.filePath(), doctor.examineFile(entry.filePath(), kind)});
    }
    return examined;
}

void writeJson(JsonWriter &writer, const Examined &examined) {
    writer.beginObject();
    writer.key("path"_L1);
    writer.value(examined.path);
    writer.key("severity"_L1);
    const std::optional<Finding::Severity> worst = JobDoctor::worst(examined.findings);
    writer.value(worst ? std::optional(JobDoctor::severityName(*worst)) : std::nullopt);
    writer.key("findings"_L1);
    writer.beginArray();
    for (const Finding &finding : examined.findings) {
        writer.beginObject();
        writer.key("severity"_L1);
        writer.value(JobDoctor::severityName(finding.severity));
        writer.key("key"_L1);
        writer.value(finding.key.isEmpty() ? std::nullopt : std::optional(finding.key));
        writer.key("explanation"_L1);
        writer.value(finding.explanation);
        writer.key("detail"_L1);
        writer.beginArray();
        for (const QString &line : finding.detail)
            writer.value(line);
        writer.endArray();
        writer.key("fix"_L1);
        writer.value(finding.fix ? std::optional(finding.fix->title) : std::nullopt);
        writer.endObject();
    }
    writer.endArray();
    writer.endObject();
}

QString text(const Examined &examined) {
    if (examined.findings.isEmpty())
        return Texts::tr("%1: no findings").arg(examined.path) + QLatin1Char('\n');
    QString out = examined.path + QLatin1Char('\n');
    for (const Finding &finding : examined.findings) {
        out += QStringLiteral("  %1%2: %3\n")
                   .arg(JobDoctor::severityName(finding.severity),
                        finding.key.isEmpty() ? QString() : QLatin1Char(' ') + finding.key,
                        finding.explanation);
        for (const QString &line : finding.detail)
            out += QStringLiteral("    | %1\n").arg(line);
        if (finding.fix)
            out += QStringLiteral("    ") + Texts::tr("fix: %1").arg(finding.fix->title) +
                   QLatin1Char('\n');
    }
    return out;
}

int exitStatus(const QList<Examined> &examined) {
    std::optional<Finding::Severity> worst;
    for (const Examined &one : examined) {
        if (const std::optional<Finding::Severity> severity = JobDoctor::worst(one.findings))
            worst = worst ? std::max(*worst, *severity) : *severity;
    }
    if (worst == Finding::Severity::error)
        return 2;
    return worst == Finding::Severity::warning ? 1 : 0;
}

} // namespace

namespace DoctorCommand {

int run(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("file"), Texts::tr("The job file."));
    parser.addOption({QStringLiteral("all"), Texts::tr("Every job file in the job folders.")});
    parser.addOption({QStringLiteral("system"), Texts::tr("With --all, the system's too.")});
    parser.addOption({QStringLiteral("kind"), Texts::tr("Kind of the folder it is in."),
                      QStringLiteral("kind")});
    parser.addOption({QStringLiteral("json"), Texts::tr("Print JSON.")});
    parser.addOption({QStringLiteral("root"), Texts::tr("Root folder."), QStringLiteral("root")});
    if (!parser.parse(arguments))
        return CliOutput::fail(parser.errorText(), cannotExamine);
    const bool isAll = parser.isSet(QStringLiteral("all"));
    const QStringList files = parser.positionalArguments();
    if (isAll == (files.size() == 1) || files.size() > 1)
        return CliOutput::fail(Texts::tr("doctor takes one job file or --all"), cannotExamine);

    const JobDoctor doctor;
    QList<Examined> examined;
    if (isAll) {
        examined = examineAll(doctor, parser.isSet(QStringLiteral("system")));
    } else {
        const QString file = QFileInfo(files.first()).absoluteFilePath();
        if (!QFileInfo::exists(file))
            return CliOutput::fail(Texts::tr("%1 does not exist").arg(file), cannotExamine);
        Kind kind = kindOfFile(file);
        if (parser.isSet(QStringLiteral("kind"))) {
            const std::optional<Kind> named = Kinds::fromName(parser.value(QStringLiteral("kind")));
            if (!named)
                return CliOutput::fail(
                    Texts::tr("unknown kind %1").arg(parser.value(QStringLiteral("kind"))),
                    cannotExamine);
            kind = *named;
        }
        examined.append({file, doctor.examineFile(file, kind)});
    }

    int printed = 0;
    if (parser.isSet(QStringLiteral("json"))) {
        JsonWriter writer;
        if (isAll)
            writer.beginArray();
        for (const Examined &one : examined)
            writeJson(writer, one);
        if (isAll)
            writer.endArray();
        printed = CliOutput::printBytes(writer.data());
    } else {
        QString out;
        for (const Examined &one : examined)
            out += text(one);
        printed = CliOutput::print(out);
    }
    return printed != 0 ? cannotExamine : exitStatus(examined);
}

} // namespace DoctorCommand

} // namespace Vandra

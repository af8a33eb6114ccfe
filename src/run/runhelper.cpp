#include "run/runhelper.h"

#include "platform/plistcodec.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "support/locations.h"
#include "support/text.h"
#include "support/userdefaultskeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUuid>

#include <array>
#include <sys/stat.h>

namespace Vandra {

namespace RunHelper {

namespace {

// Enough for any sensible first line; a large binary is never read whole.
constexpr qint64 firstLineLimit = 64 * 1024;
constexpr qsizetype longestName = 48;

bool isAutomaticHelpOn() {
    return Defaults::shared().automaticHelp();
}

// The executable of an application bundle, as its Info.plist names it, or one named after
// the bundle.
std::optional<QString> bundleExecutable(const QString &bundle) {
    const QString contents = bundle + QStringLiteral("/Contents");
    QStringList names;
    const PlistReadResult info = PlistCodec::readFile(contents + QStringLiteral("/Info.plist"));
    if (info.ok() && info.value->dict()) {
        if (const std::optional<QString> name =
                info.value->dict()->value(QStringLiteral("CFBundleExecutable")).toString();
            name && !name->isEmpty() && !name->contains(QLatin1Char('/'))) {
            names.append(*name);
        }
    }
    names.append(QFileInfo(bundle).completeBaseName());
    for (const QString &name : std::as_const(names)) {
        const QFileInfo executable(contents + QStringLiteral("/MacOS/") + name);
        if (executable.isFile())
            return executable.filePath();
    }
    return std::nullopt;
}

bool isRunDirectly(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISDIR(status.st_mode))
        return false;
    const mode_t permissions = status.st_mode & 0777;
    return permissions == 0755 || permissions == 0744 || permissions == 0645;
}

// The file's first line as UTF-8 text; none when it cannot be read or is not UTF-8.
std::optional<QString> firstLine(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.read(firstLineLimit);
    if (const qsizetype newline = bytes.indexOf('\n'); newline >= 0)
        bytes.truncate(newline);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString line = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return line;
}

bool isBlank(QChar character) {
    return character == QLatin1Char('\t') || character.category() == QChar::Separator_Space;
}

QString trimmedOfBlanks(const QString &text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && isBlank(text.at(start)))
        ++start;
    while (end > start && isBlank(text.at(end - 1)))
        --end;
    return text.mid(start, end - start);
}

// Writes the script atomically; false when it could not be written.
bool writeScript(const QString &path, const QString &run, QString *error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    file.write(QStringLiteral("#!/bin/sh\n\n").toUtf8());
    file.write(run.toUtf8());
    if (!file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace

std::optional<QString> interpreterForExtension(const QString &extension) {
    const QString lower = extension.toLower();
    const std::array<std::pair<QLatin1String, const QString *>, 9> table{{
        {QLatin1String("scpt"), &Const::Command::osascript},
        {QLatin1String("automator"), &Const::Command::automator},
        {QLatin1String("workflow"), &Const::Command::automator},
        {QLatin1String("pl"), &Const::Command::perl},
        {QLatin1String("php"), &Const::Command::php},
        {QLatin1String("py"), &Const::Command::python},
        {QLatin1String("rb"), &Const::Command::ruby},
        {QLatin1String("sh"), &Const::Command::shell},
        {QLatin1String("bash"), &Const::Command::bash},
    }};
    for (const auto &[name, command] : table) {
        if (lower == name)
            return *command;
    }
    return std::nullopt;
}

std::optional<QString> interpreterForFirstLine(const QString &line) {
    // Every shell whose name ends in "sh" contains "sh"; the named ones come first.
    const QString lower = line.toLower();
    const std::array<std::pair<QLatin1String, const QString *>, 8> table{{
        {QLatin1String("perl"), &Const::Command::perl},
        {QLatin1String("bash"), &Const::Command::bash},
        {QLatin1String("csh"), &Const::Command::csh},
        {QLatin1String("ksh"), &Const::Command::ksh},
        {QLatin1String("php"), &Const::Command::php},
        {QLatin1String("python"), &Const::Command::python},
        {QLatin1String("sh"), &Const::Command::shell},
        {QLatin1String("ruby"), &Const::Command::ruby},
    }};
    for (const auto &[name, command] : table) {
        if (lower.contains(name))
            return *command;
    }
    return std::nullopt;
}

std::optional<QString> commandForFile(const QString &path) {
    if (!isAutomaticHelpOn())
        return std::nullopt;
    const QString extension = QFileInfo(path).suffix();
    if (extension.compare(QLatin1String("app"), Qt::CaseInsensitive) == 0)
        return Text::quote(bundleExecutable(path).value_or(path));
    if (isRunDirectly(path))
        return Text::quote(path);

    std::optional<QString> interpreter;
    if (!extension.isEmpty())
        interpreter = interpreterForExtension(extension);
    if (!interpreter) {
        if (const std::optional<QString> line = firstLine(path);
            line && (line->startsWith(QLatin1String("#!")) || line->startsWith(QLatin1Char('%')) ||
                     line->startsWith(QLatin1String("<?")))) {
            interpreter = interpreterForFirstLine(*line);
        }
    }
    return interpreter.value_or(Const::Command::open) + QLatin1Char(' ') + Text::quote(path);
}

QString chosenFileText(const QString &path) {
    return commandForFile(path).value_or(Text::quote(path));
}

QString insertChosenText(const QString &field, const QString &text, qsizetype selectionStart,
                         qsizetype selectionLength) {
    if (field.isEmpty())
        return text;
    if (selectionLength > 0 && selectionStart >= 0 &&
        selectionStart + selectionLength <= field.size()) {
        QString replaced = field;
        return replaced.replace(selectionStart, selectionLength, text);
    }
    if (field.endsWith(QLatin1Char(' ')))
        return field + text;
    return field + QLatin1Char(' ') + text;
}

QString droppedFileText(const QString &path) {
    return path.contains(QLatin1Char(' ')) ? Text::quote(path) : path;
}

QString nameFromCommand(const QString &run) {
    QString name;
    if (run.size() >= 4) {
        name = Text::lastPathComponent(run);
        // The extension runs from the component's last dot; a leading dot starts no extension.
        if (const qsizetype dot = name.lastIndexOf(QLatin1Char('.')); dot > 0)
            name.truncate(dot);
        name.replace(QLatin1String("\\ "), QLatin1String(" "));
        name.remove(QLatin1Char('"'));
        name.remove(QLatin1Char('\''));
        name.remove(QLatin1Char('\\'));
    }
    if (name.size() > longestName)
        name = trimmedOfBlanks(name.left(longestName));
    if (name.isEmpty())
        return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    return name;
}

std::optional<QString> removeSudo(const QString &run) {
    if (!isAutomaticHelpOn() || run.size() <= 5)
        return std::nullopt;
    const QString lower = run.toLower();
    if (!lower.startsWith(QLatin1String("sudo ")) || lower.startsWith(QLatin1String("sudo -")))
        return std::nullopt;
    return run.mid(5);
}

std::optional<QString> commandFolder(const QString &run) {
    QString word = run.section(QLatin1Char(' '), 0, 0);
    if (word.isEmpty())
        return std::nullopt;
    static const QStringList usrBin{QStringLiteral("osascript"), QStringLiteral("automator"),
                                    QStringLiteral("perl"),      QStringLiteral("php"),
                                    QStringLiteral("python"),    QStringLiteral("ruby")};
    if (usrBin.contains(word))
        return QStringLiteral("/usr/bin/");
    if (word == QLatin1String("sh") || word == QLatin1String("bash"))
        return QStringLiteral("/bin/");

    word.remove(QLatin1Char('"'));
    word.remove(QLatin1Char('\''));
    // A word with a folder in it names its own place; a leading dash is no command name.
    if (word.isEmpty() || word.startsWith(QLatin1Char('-')) || word.contains(QLatin1Char('/')))
        return std::nullopt;

    // The search path of the program, as the user's shell would search it.
    const QString found = QStandardPaths::findExecutable(word);
    if (found.isEmpty())
        return std::nullopt;
    // The folder is what precedes the command's name; removing the name wherever it occurs
    // would also cut it out of a folder that shares it (/opt/tool/bin/tool).
    return found.left(found.size() - word.size());
}

std::optional<QString> addCommandFolder(const QString &run) {
    if (!isAutomaticHelpOn() || run.size() <= 2)
        return std::nullopt;
    // A path, a quoted word, a relative path, or one that starts from the home folder or a
    // variable names its own folder.
    static const QString leaders = QStringLiteral("/\"'.~$");
    if (leaders.contains(run.front()))
        return std::nullopt;
    const std::optional<QString> folder = commandFolder(run);
    if (!folder)
        return std::nullopt;
    return *folder + run;
}

std::optional<QString> expandTilde(const QString &run) {
    if (!isAutomaticHelpOn() || !run.contains(QLatin1Char('~')))
        return std::nullopt;
    const QString home = Locations::shared().home();
    QString expanded = run;
    qsizetype at = 0;
    while ((at = expanded.indexOf(QLatin1Char('~'), at)) >= 0) {
        const bool isWordStart = at == 0 || expanded.at(at - 1) == QLatin1Char(' ');
        const bool isBeforeSlash =
            at + 1 < expanded.size() && expanded.at(at + 1) == QLatin1Char('/');
        if (isWordStart || isBeforeSlash) {
            expanded.replace(at, 1, home);
            at += home.size();
        } else {
            ++at;
        }
    }
    if (expanded == run)
        return std::nullopt;
    return expanded;
}

bool isComplexCommand(const QString &run) {
    static const QStringList markers{QStringLiteral(">"), QStringLiteral("exec "),
                                     QStringLiteral("|"), QStringLiteral("<"),
                                     QStringLiteral(";"), QStringLiteral("\u2019")};
    for (const QString &marker : markers) {
        if (run.contains(marker))
            return true;
    }
    return false;
}

std::optional<QString> offerShellScript(const QString &run, const QString &suggestedName) {
    if (run.size() <= 5 || Defaults::shared().suppressAlertComplexRun() || !isComplexCommand(run))
        return std::nullopt;

    AlertRequest alert;
    alert.message = Localize::text("Your command might be too complex to run. Do you want to run "
                                   "it as a shell script instead?");
    alert.buttons = {Localize::text("Run Shell Script"), Localize::text("Continue Anyway")};
    alert.suppressionKey = UserDefaultsKeys::suppressAlertComplexRun;
    if (Interaction::shared().alert(alert) != Interaction::firstButton)
        return std::nullopt;

    FilePanelRequest panel;
    panel.title = Localize::text("Run Shell Script");
    panel.directory = Locations::shared().home();
    QString proposed = suggestedName;
    proposed.replace(QLatin1Char('/'), QLatin1Char('-'));
    if (!proposed.endsWith(QLatin1String(".sh")))
        proposed += QLatin1String(".sh");
    panel.proposedName = proposed;
    panel.allowedSuffixes = {QStringLiteral("sh")};
    panel.canCreateFolders = true;
    const std::optional<QString> path = Interaction::shared().savePanel(panel);
    if (!path || path->isEmpty())
        return std::nullopt;

    // A job that runs a script that was never written would fail at every start, so the
    // failure is shown and the command stays as it was.
    QString error;
    if (!writeScript(*path, run, &error)) {
        Interaction::error(
            Localize::format(Localize::text("The shell script %@ could not be saved."),
                             {QDir::toNativeSeparators(*path)}),
            error);
        return std::nullopt;
    }
    // A path with a quote in it would end the quoted word early.
    if (path->contains(QLatin1Char('\'')))
        return QStringLiteral("/bin/sh ") + Text::quote(*path);
    return QStringLiteral("/bin/sh '") + *path + QLatin1Char('\'');
}

void applyAutomaticHelp(Job &job, QString &runField, QString &nameField) {
    if (nameField.isEmpty()) {
        const QString name = nameFromCommand(runField);
        job.label = name;
        nameField = name;
    }
    auto take = [&](const std::optional<QString> &text) {
        if (!text)
            return false;
        runField = *text;
        job.setRun(*text);
        return true;
    };
    if (take(removeSudo(runField)))
        job.kind = Kind::localDaemon;
    take(addCommandFolder(runField));
    take(expandTilde(runField));
    take(offerShellScript(runField, job.label));
}

QString repairedRun(const QString &run, bool withoutSudo) {
    QString repaired = run;
    if (withoutSudo)
        repaired = removeSudo(repaired).value_or(repaired);
    repaired = addCommandFolder(repaired).value_or(repaired);
    return expandTilde(repaired).value_or(repaired);
}

bool checkRunNotEmpty(const QString &run) {
    if (!run.isEmpty())
        return true;
    AlertRequest alert;
    alert.message =
        Localize::format(Localize::text("Value for %@ cannot be empty"), {Localize::run()});
    alert.buttons = {Localize::ok()};
    Interaction::shared().alert(alert);
    return false;
}

} // namespace RunHelper

} // namespace Vandra

#include "store/programcheck.h"

#include "model/jobreader.h"
#include "model/launchdkey.h"
#include "run/runhelper.h"
#include "store/jobdoctor.h"
#include "support/const.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <sys/stat.h>

namespace Vandra {

const QString ProgramCheck::launchdPath = QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin");

namespace {

using Severity = Finding::Severity;

const QRegularExpression &variablePattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"(\$(\{[A-Za-z_][A-Za-z0-9_]*\}|[A-Za-z_][A-Za-z0-9_]*))"));
    return pattern;
}

const QRegularExpression &homePattern() {
    static const QRegularExpression pattern(QStringLiteral(R"(\$\{HOME\}|\$HOME(?![A-Za-z0-9_]))"));
    return pattern;
}

// A shell expands ~ and variables in the command it is given, so its arguments are fine.
const QStringList shells = {QStringLiteral("sh"),   QStringLiteral("bash"), QStringLiteral("zsh"),
                            QStringLiteral("dash"), QStringLiteral("ksh"),  QStringLiteral("csh"),
                            QStringLiteral("tcsh"), QStringLiteral("fish")};

// Where package managers put commands that launchd's search path leaves out.
const QStringList elsewhereFolders = {
    QStringLiteral("/usr/local/bin"),    QStringLiteral("/usr/local/sbin"),
    QStringLiteral("/opt/homebrew/bin"), QStringLiteral("/opt/homebrew/sbin"),
    QStringLiteral("/opt/local/bin"),    QStringLiteral("/snap/bin")};

// The path keys launchd uses as written, with the keys whose wrong path stops the job.
const QStringList textPathKeys = {QStringLiteral("StandardOutPath"), LaunchdKey::StandardErrorPath,
                                  QStringLiteral("StandardInPath"), LaunchdKey::WorkingDirectory,
                                  QStringLiteral("RootDirectory")};
const QStringList listPathKeys = {LaunchdKey::WatchPaths, QStringLiteral("QueueDirectories")};

QString onMachine(const QString &path) {
    return Locations::shared().underRoot(path);
}

QByteArray firstBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(512);
}

bool isExecutableFormat(const QByteArray &start) {
    if (start.startsWith("\x7f"
                         "ELF"))
        return true;
    // Mach-O, thin in either byte order and universal.
    for (const char *magic : {"\xfe\xed\xfa\xce", "\xfe\xed\xfa\xcf", "\xce\xfa\xed\xfe",
                              "\xcf\xfa\xed\xfe", "\xca\xfe\xba\xbe"}) {
        if (start.startsWith(QByteArray(magic, 4)))
            return true;
    }
    return false;
}

} // namespace

ProgramCheck::ProgramCheck(const PlistDict &plist, const std::optional<UserAccount> &runner,
                           Findings &findings)
    : m_plist(plist)
    , m_runner(runner)
    , m_findings(findings)
    , m_arguments(JobReader::programArguments(plist)) {
    const QString program = plist.value(LaunchdKey::Program).toString().value_or(QString());
    m_program = program.isEmpty() ? m_arguments.value(0) : program;
}

void ProgramCheck::run() {
    if (m_program.isEmpty()) {
        add(Severity::error, LaunchdKey::ProgramArguments,
            JobDoctor::tr("The job has neither Program nor ProgramArguments, so launchd has "
                          "nothing to run."));
        return;
    }
    m_programName = QFileInfo(m_program).fileName();
    examineProgram(m_program);
    examineArguments();
    examinePathKeys();
}

bool ProgramCheck::mayUse(const QString &path, const UserAccount &user, mode_t bits) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    if (user.uid == 0)
        return bits == S_IXOTH ? (info.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)) != 0 : true;
    if (info.st_uid == user.uid)
        return (info.st_mode & (bits << 6)) != 0;
    if (user.groups.contains(info.st_gid))
        return (info.st_mode & (bits << 3)) != 0;
    return (info.st_mode & bits) != 0;
}

void ProgramCheck::examineProgram(const QString &program) {
    if (needsExpansion(program)) {
        const std::optional<QString> better = expanded(program);
        add(Severity::error, programKey(),
            JobDoctor::tr("The program %1 is taken as written: launchd expands neither ~ nor "
                          "$VARIABLES.")
                .arg(program),
            better ? std::optional(replaceProgram(JobDoctor::tr("Use %1").arg(*better), *better))
                   : std::nullopt);
        return;
    }
    QString path = program;
    if (!program.contains(QLatin1Char('/'))) {
        path = lookUp(program);
        if (path.isEmpty())
            return;
    } else if (!program.startsWith(QLatin1Char('/'))) {
        const QString base =
            m_plist.value(LaunchdKey::WorkingDirectory).toString().value_or(QStringLiteral("/"));
        path = QDir::cleanPath(base + QLatin1Char('/') + program);
    }
    examineFile(path);
}

QString ProgramCheck::lookUp(const QString &name) {
    QString searchPath = launchdPath;
    if (const PlistValue environment = m_plist.value(LaunchdKey::EnvironmentVariables);
        const PlistDict *variables = environment.dict()) {
        searchPath = variables->value(QStringLiteral("PATH")).toString().value_or(searchPath);
    }
    for (const QString &folder : searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (QFileInfo(onMachine(candidate)).isFile())
            return candidate;
    }
    QStringList elsewhere = elsewhereFolders;
    if (m_runner && !m_runner->home.isEmpty())
        elsewhere << m_runner->home + QStringLiteral("/.local/bin")
                  << m_runner->home + QStringLiteral("/bin");
    for (const QString &folder : elsewhere) {
        const QString candidate = folder + QLatin1Char('/') + name;
        if (!QFileInfo(onMachine(candidate)).isFile())
            continue;
        add(Severity::error, programKey(),
            JobDoctor::tr("launchd looks for %1 only in %2, but it is in %3.")
                .arg(name, searchPath, folder),
            replaceProgram(JobDoctor::tr("Use %1").arg(candidate), candidate));
        return {};
    }
    add(Severity::error, programKey(),
        JobDoctor::tr("No program named %1 is in launchd's search path %2.").arg(name, searchPath));
    return {};
}

void ProgramCheck::examineFile(const QString &path) {
    const QString real = onMachine(path);
    const QFileInfo info(real);
    if (!info.exists()) {
        add(Severity::error, programKey(),
            JobDoctor::tr("The program %1 does not exist.").arg(path));
        return;
    }
    if (info.isDir()) {
        add(Severity::error, programKey(),
            JobDoctor::tr("%1 is a folder, not a program.").arg(path));
        return;
    }
    const QByteArray start = firstBytes(real);
    const bool hasInterpreterLine = start.startsWith("#!");
    const bool isScript = !isExecutableFormat(start) && !start.contains('\0');
    QStringList interpreter;
    if (hasInterpreterLine) {
        const qsizetype end = start.indexOf('\n');
        interpreter = QString::fromUtf8(start.mid(2, end < 0 ? -1 : end - 2))
                          .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    } else if (isScript) {
        interpreter = {
            RunHelper::interpreterForExtension(info.suffix()).value_or(Const::Command::shell)};
    }
    const bool isExecutable =
        m_runner ? mayUse(real, *m_runner, S_IXOTH)
                 : info.permissions().testAnyFlags(QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                   QFileDevice::ExeOther);
    if (!isExecutable) {
        add(Severity::error, programKey(),
            JobDoctor::tr("The program %1 is not executable, so the system cannot start it.")
                .arg(path),
            isScript && !interpreter.isEmpty() ? std::optional(runWith(interpreter, path))
                                               : std::nullopt);
        return;
    }
    if (isScript && !hasInterpreterLine) {
        add(Severity::error, programKey(),
            JobDoctor::tr("%1 is a script without a #! line, so the system cannot start it.")
                .arg(path),
            runWith(interpreter, path));
        return;
    }
    if (hasInterpreterLine && !interpreter.isEmpty() &&
        interpreter.first().startsWith(QLatin1Char('/')) &&
        !QFileInfo(onMachine(interpreter.first())).isFile()) {
        add(Severity::error, programKey(),
            JobDoctor::tr("The script %1 names the interpreter %2, which does not exist.")
                .arg(path, interpreter.first()));
    }
}

void ProgramCheck::examineArguments() {
    if (isShell() || m_arguments.size() < 2)
        return;
    QStringList fixed = m_arguments;
    QString first;
    bool isFixable = true;
    for (qsizetype i = 1; i < fixed.size(); ++i) {
        if (!needsExpansion(fixed[i]))
            continue;
        if (first.isEmpty())
            first = fixed[i];
        const std::optional<QString> better = expanded(fixed[i]);
        isFixable = isFixable && better;
        if (better)
            fixed[i] = *better;
    }
    if (first.isEmpty())
        return;
    std::optional<Fix> fix;
    if (isFixable) {
        fix = Fix{JobDoctor::tr("Expand it"), [fixed](PlistDict &d) {
                      d.insert(LaunchdKey::ProgramArguments, PlistValue(fixed));
                  }};
    }
    add(Severity::warning, LaunchdKey::ProgramArguments,
        JobDoctor::tr("The argument %1 reaches the program as written: launchd expands neither "
                      "~ nor $VARIABLES.")
            .arg(first),
        std::move(fix));
}

void ProgramCheck::examinePathKeys() {
    for (const QString &key : textPathKeys) {
        const QString path = m_plist.value(key).toString().value_or(QString());
        if (!needsExpansion(path))
            continue;
        const std::optional<QString> better = expanded(path);
        add(Severity::error, key,
            JobDoctor::tr("The path %1 is taken as written: launchd expands neither ~ nor "
                          "$VARIABLES.")
                .arg(path),
            better ? std::optional(Fix{JobDoctor::tr("Use %1").arg(*better),
                                       [key, value = *better](PlistDict &d) {
                                           d.insert(key, PlistValue(value));
                                       }})
                   : std::nullopt);
    }
    for (const QString &key : listPathKeys) {
        QStringList paths = m_plist.value(key).toStringList().value_or(QStringList());
        const auto wrong = std::find_if(paths.cbegin(), paths.cend(), needsExpansion);
        if (wrong == paths.cend())
            continue;
        const QString first = *wrong;
        bool isFixable = true;
        for (QString &path : paths) {
            if (!needsExpansion(path))
                continue;
            const std::optional<QString> better = expanded(path);
            isFixable = isFixable && better;
            if (better)
                path = *better;
        }
        add(Severity::warning, key,
            JobDoctor::tr("The path %1 is taken as written: launchd expands neither ~ nor "
                          "$VARIABLES.")
                .arg(first),
            isFixable ? std::optional(
                            Fix{JobDoctor::tr("Expand it"),
                                [key, paths](PlistDict &d) { d.insert(key, PlistValue(paths)); }})
                      : std::nullopt);
    }
}

std::optional<QString> ProgramCheck::expanded(const QString &path) const {
    const QString home = m_runner ? m_runner->home : QString();
    if (home.isEmpty())
        return std::nullopt;
    QString result = path;
    if (result == QLatin1String("~"))
        result = home;
    else if (result.startsWith(QLatin1String("~/")))
        result = home + result.mid(1);
    else if (result.startsWith(QLatin1Char('~')))
        return std::nullopt; // another user's home
    result.replace(homePattern(), home);
    if (result.contains(variablePattern()))
        return std::nullopt;
    return result;
}

bool ProgramCheck::needsExpansion(const QString &path) {
    return path.startsWith(QLatin1Char('~')) || path.contains(variablePattern());
}

bool ProgramCheck::isShell() const {
    return shells.contains(m_programName);
}

QString ProgramCheck::programKey() const {
    return m_plist.value(LaunchdKey::Program).toString().value_or(QString()).isEmpty()
               ? LaunchdKey::ProgramArguments
               : LaunchdKey::Program;
}

Fix ProgramCheck::runWith(const QStringList &interpreter, const QString &path) const {
    return {JobDoctor::tr("Run it with %1").arg(interpreter.join(QLatin1Char(' '))),
            [interpreter, path](PlistDict &d) {
                const QStringList arguments = JobReader::programArguments(d);
                d.remove(LaunchdKey::Program);
                d.insert(LaunchdKey::ProgramArguments,
                         PlistValue(interpreter + QStringList{path} + arguments.mid(1)));
            }};
}

Fix ProgramCheck::replaceProgram(const QString &title, const QString &path) const {
    return {title, [path](PlistDict &d) {
                if (!d.value(LaunchdKey::Program).toString().value_or(QString()).isEmpty()) {
                    d.insert(LaunchdKey::Program, PlistValue(path));
                    return;
                }
                QStringList arguments = JobReader::programArguments(d);
                if (arguments.isEmpty())
                    arguments.append(path);
                else
                    arguments.first() = path;
                d.insert(LaunchdKey::ProgramArguments, PlistValue(arguments));
            }};
}

void ProgramCheck::add(Severity severity, const QString &key, const QString &explanation,
                       std::optional<Fix> fix) {
    m_findings.append({severity, key, explanation, {}, std::move(fix)});
}

} // namespace Vandra

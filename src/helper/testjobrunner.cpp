#include "testjobrunner.h"

#include "helper/helperlog.h"

#include <QFile>
#include <QProcess>
#include <QTimer>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace Vandra {

TestJobRunner::TestJobRunner(int boundMilliseconds, QObject *parent)
    : QObject(parent)
    , m_bound(boundMilliseconds) {}

TestJobRunner::~TestJobRunner() {
    for (auto it = m_runs.begin(); it != m_runs.end(); ++it) {
        it->process->disconnect(this);
        killGroup(*it);
        it->process->waitForFinished(2000);
        ::close(it->outputFile);
    }
}

std::optional<TestJobRunner::Command> TestJobRunner::command(const PlistDict &job) {
    const QStringList arguments =
        job.value(QStringLiteral("ProgramArguments")).toStringList().value_or(QStringList());
    const auto program = job.value(QStringLiteral("Program")).toString();
    Command command;
    if (program && !program->isEmpty()) {
        command.program = *program;
        command.arguments = arguments.mid(1);
    } else if (!arguments.isEmpty() && !arguments.constFirst().isEmpty()) {
        command.program = arguments.constFirst();
        command.arguments = arguments.mid(1);
    } else {
        return std::nullopt;
    }
    command.workingDirectory =
        job.value(QStringLiteral("WorkingDirectory")).toString().value_or(QString());
    command.userName = job.value(QStringLiteral("UserName")).toString().value_or(QString());
    command.groupName = job.value(QStringLiteral("GroupName")).toString().value_or(QString());
    const PlistValue *environment = job.find(QStringLiteral("EnvironmentVariables"));
    if (const PlistDict *variables = environment ? environment->dict() : nullptr) {
        for (const auto &[name, value] : *variables) {
            if (const auto text = value.toString())
                command.environment.insert(name, *text);
        }
    }
    return command;
}

namespace {

// Who the command runs as, found before the fork: nothing after it may read the user database.
struct Identity {
    bool isChanged = false;
    uid_t uid = 0;
    gid_t gid = 0;
    std::vector<gid_t> groups;
    QString home;
    QString user;
    QString shell;
};

std::optional<Identity> identityOf(const TestJobRunner::Command &command, QString *error) {
    Identity identity;
    const uid_t self = ::geteuid();
    // A helper without root rights runs everything as its own user, as a user's launchd does.
    const bool isRoot = self == 0;
    const QString userName = isRoot ? command.userName : QString();
    const passwd *entry =
        userName.isEmpty() ? ::getpwuid(self) : ::getpwnam(userName.toLocal8Bit().constData());
    if (!entry) {
        *error = userName.isEmpty() ? QStringLiteral("the helper's own user is unknown")
                                    : QStringLiteral("there is no user %1").arg(userName);
        return std::nullopt;
    }
    identity.uid = entry->pw_uid;
    identity.gid = userName.isEmpty() ? ::getegid() : entry->pw_gid;
    identity.home = QFile::decodeName(entry->pw_dir);
    identity.user = QString::fromLocal8Bit(entry->pw_name);
    identity.shell = QFile::decodeName(entry->pw_shell);
    if (isRoot && !command.groupName.isEmpty()) {
        const group *named = ::getgrnam(command.groupName.toLocal8Bit().constData());
        if (!named) {
            *error = QStringLiteral("there is no group %1").arg(command.groupName);
            return std::nullopt;
        }
        identity.gid = named->gr_gid;
    }
    if (!isRoot || (userName.isEmpty() && command.groupName.isEmpty()))
        return identity;
    identity.isChanged = true;
    int count = 64;
    identity.groups.resize(size_t(count));
    while (::getgrouplist(entry->pw_name, identity.gid, identity.groups.data(), &count) < 0) {
        identity.groups.resize(size_t(count));
    }
    identity.groups.resize(size_t(count));
    if (userName.isEmpty())
        identity.groups = {identity.gid};
    return identity;
}

QProcessEnvironment environmentOf(const TestJobRunner::Command &command, const Identity &identity) {
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin"));
    environment.insert(QStringLiteral("HOME"), identity.home);
    environment.insert(QStringLiteral("USER"), identity.user);
    environment.insert(QStringLiteral("LOGNAME"), identity.user);
    environment.insert(QStringLiteral("SHELL"),
                       identity.shell.isEmpty() ? QStringLiteral("/bin/sh") : identity.shell);
    for (auto it = command.environment.cbegin(); it != command.environment.cend(); ++it)
        environment.insert(it.key(), it.value());
    return environment;
}

void put(const char *text) {
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, std::strlen(text));
}

// Between fork and exec: only calls that are safe there.
[[noreturn]] void failInChild(const char *what) {
    const char *reason = std::strerror(errno);
    put(what);
    put(": ");
    put(reason);
    put("\n");
    ::_exit(126);
}

} // namespace

bool TestJobRunner::start(const QString &label, const Command &command, int outputFile,
                          Completion completion, QString *error) {
    if (m_runs.contains(label)) {
        ::close(outputFile);
        *error = QStringLiteral("a test of this label is already running");
        return false;
    }
    const auto identity = identityOf(command, error);
    if (!identity) {
        ::close(outputFile);
        return false;
    }

    auto *process = new QProcess(this);
    process->setProgram(command.program);
    process->setArguments(command.arguments);
    process->setProcessEnvironment(environmentOf(command, *identity));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QByteArray folder = QFile::encodeName(
        command.workingDirectory.isEmpty() ? QStringLiteral("/") : command.workingDirectory);
    process->setChildProcessModifier([fd = outputFile, identity = *identity, folder] {
        // A group of its own, so that stopping the test stops what it started too; and the
        // signals the helper ignores are the command's again.
        ::setsid();
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
        // The job's user and group before anything of the job's is touched, its working
        // folder included.
        if (identity.isChanged &&
            (::setgroups(identity.groups.size(), identity.groups.data()) != 0 ||
             ::setgid(identity.gid) != 0 || ::setuid(identity.uid) != 0))
            failInChild("cannot take the job's user and group");
        if (::chdir(folder.constData()) != 0)
            failInChild("cannot enter the working folder");
    });
    const int fd = outputFile;

    auto *bound = new QTimer(this);
    bound->setSingleShot(true);
    bound->setInterval(m_bound);
    m_runs.insert(label, Run{process, 0, bound, fd, std::move(completion)});

    connect(process, &QProcess::finished, this, [this, label] { finish(label); });
    connect(process, &QProcess::errorOccurred, this,
            [this, label, process](QProcess::ProcessError e) {
                if (e == QProcess::FailedToStart)
                    finish(label, process->errorString());
            });
    connect(bound, &QTimer::timeout, this, [this, label] {
        qCInfo(lcHelper).noquote() << "test" << label << "still runs at the bound; stopping it";
        stop(label);
    });
    process->start();
    if (const auto it = m_runs.find(label); it != m_runs.end()) {
        it->group = process->processId();
        bound->start();
    }
    Q_EMIT runningCountChanged();
    return true;
}

void TestJobRunner::killGroup(const Run &run) {
    if (run.group > 0)
        ::kill(-pid_t(run.group), SIGKILL);
    if (run.process->state() != QProcess::NotRunning)
        run.process->kill();
}

bool TestJobRunner::stop(const QString &label) {
    const auto it = m_runs.constFind(label);
    if (it == m_runs.cend())
        return false;
    // Answered at once with what it printed so far, before its files may go.
    finish(label);
    return true;
}

void TestJobRunner::finish(const QString &label, const QString &failure) {
    const auto it = m_runs.find(label);
    if (it == m_runs.end())
        return;
    Run run = *it;
    m_runs.erase(it);
    run.bound->stop();
    run.bound->deleteLater();
    run.process->disconnect(this);
    // What the command started goes with it, as launchd stops a job's process group.
    killGroup(run);
    if (run.process->state() != QProcess::NotRunning)
        run.process->waitForFinished(2000);
    run.process->deleteLater();
    QString output = readOutput(run.outputFile);
    ::close(run.outputFile);
    if (!failure.isEmpty())
        output += (output.isEmpty() ? QString() : QStringLiteral("\n")) + failure;
    Q_EMIT runningCountChanged();
    run.completion(output);
}

QString TestJobRunner::readOutput(int file) {
    QByteArray bytes(outputLimit, Qt::Uninitialized);
    qint64 length = 0;
    while (length < outputLimit) {
        const ssize_t count =
            ::pread(file, bytes.data() + length, size_t(outputLimit - length), off_t(length));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        length += count;
    }
    bytes.truncate(length);
    return QString::fromUtf8(bytes);
}

} // namespace Vandra

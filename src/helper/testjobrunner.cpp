#include "testjobrunner.h"

#include "helper/helperlog.h"

#include <QFile>
#include <QProcess>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <sys/stat.h>

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
    const PlistValue *environment = job.find(QStringLiteral("EnvironmentVariables"));
    if (const PlistDict *variables = environment ? environment->dict() : nullptr) {
        for (const auto &[name, value] : *variables) {
            if (const auto text = value.toString())
                command.environment.insert(name, *text);
        }
    }
    return command;
}

bool TestJobRunner::start(const QString &label, const Command &command, const QString &outputPath,
                          Completion completion, QString *error) {
    if (m_runs.contains(label)) {
        *error = QStringLiteral("a test of this label is already running");
        return false;
    }
    // Opened here without following links, then handed to the command as its output and
    // error; nothing else in the child opens a path. Without blocking, so that a pipe put in
    // the file's place cannot stall the helper; anything but a plain file is refused.
    const QByteArray encoded = QFile::encodeName(outputPath);
    const int fd = ::open(encoded.constData(),
                          O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0644);
    if (fd < 0) {
        *error = QStringLiteral("cannot open the output file: %1")
                     .arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("the output file is not a plain file");
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    auto *process = new QProcess(this);
    process->setProgram(command.program);
    process->setArguments(command.arguments);
    process->setWorkingDirectory(command.workingDirectory.isEmpty() ? QStringLiteral("/")
                                                                    : command.workingDirectory);
    if (!command.environment.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = command.environment.cbegin(); it != command.environment.cend(); ++it)
            environment.insert(it.key(), it.value());
        process->setProcessEnvironment(environment);
    }
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->setChildProcessModifier([fd] {
        // A group of its own, so that stopping the test stops what it started too; and the
        // signals the helper ignores are the command's again.
        ::setsid();
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(fd, STDOUT_FILENO);
        ::dup2(fd, STDERR_FILENO);
    });

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

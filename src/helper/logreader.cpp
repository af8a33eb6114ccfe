#include "logreader.h"

#include "helper/filesystemidentity.h"
#include "helper/helperlog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

namespace Vandra {

namespace {

// Reading more of a file than this gives no more useful lines.
constexpr qint64 fileTailLimit = 1024 * 1024;

QString journalText(const QJsonValue &value) {
    if (value.isString())
        return value.toString();
    // journalctl writes messages that are not UTF-8 as arrays of bytes.
    if (value.isArray()) {
        QByteArray bytes;
        for (const QJsonValue &byte : value.toArray())
            bytes.append(char(byte.toInt()));
        return QString::fromUtf8(bytes);
    }
    return {};
}

} // namespace

LogReader::LogReader(QStringList journalCommand, int timeoutMilliseconds, QObject *parent)
    : QObject(parent)
    , m_journalCommand(std::move(journalCommand))
    , m_timeout(timeoutMilliseconds)
    , m_filesUser(::geteuid()) {}

QStringList LogReader::journalCommandFromEnvironment(bool isPrivileged) {
    const bool isSet = qEnvironmentVariableIsSet("VANDRA_JOURNALCTL");
    if (isPrivileged && ::geteuid() == 0) {
        // Running as root, a caller may only turn the journal off (then the output files are
        // read with the caller's rights), never choose a program that would run as root.
        if (isSet && qEnvironmentVariableIsEmpty("VANDRA_JOURNALCTL"))
            return {};
        for (const QString &journalctl :
             {QStringLiteral("/usr/bin/journalctl"), QStringLiteral("/bin/journalctl")}) {
            if (::access(QFile::encodeName(journalctl).constData(), X_OK) == 0)
                return {journalctl};
        }
        return {};
    }
    if (isSet)
        return QProcess::splitCommand(qEnvironmentVariable("VANDRA_JOURNALCTL"));
    const QString journalctl = QStandardPaths::findExecutable(QStringLiteral("journalctl"));
    return journalctl.isEmpty() ? QStringList() : QStringList{journalctl};
}

std::optional<LogReader::Query> LogReader::parse(const PlistValue &logQuery, QString *error) {
    const PlistDict *dict = logQuery.dict();
    if (!dict) {
        *error = QStringLiteral("no log query");
        return std::nullopt;
    }
    const auto search = dict->value(QStringLiteral("searchString")).toString();
    const auto seconds = dict->value(QStringLiteral("lastSeconds")).toString();
    bool ok = false;
    const qint64 lastSeconds = seconds ? seconds->toLongLong(&ok) : 0;
    if (!search || search->isEmpty() || !ok || lastSeconds <= 0) {
        *error = QStringLiteral("the log query needs a search text and a positive lastSeconds");
        return std::nullopt;
    }
    return Query{*search, lastSeconds, {}, false};
}

void LogReader::query(const Query &query, const QStringList &outputFiles, Completion completion) {
    if (!m_journalCommand.isEmpty()) {
        queryJournal(query, std::move(completion));
        return;
    }
    // Read with the rights of the user the helper works for, never with its own.
    const FileSystemIdentity identity(m_filesUser);
    if (!identity.isTaken()) {
        completion(std::nullopt, identity.error());
        return;
    }
    completion(readFiles(outputFiles, query.lastSeconds), QString());
}

void LogReader::queryJournal(const Query &query, Completion completion) {
    const qint64 since = QDateTime::currentSecsSinceEpoch() - query.lastSeconds;
    const QStringList arguments = m_journalCommand.mid(1) + journalArguments(query, since);

    auto *process = new QProcess(this);
    auto *timer = new QTimer(process);
    timer->setSingleShot(true);
    process->setProgram(m_journalCommand.constFirst());
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    ++m_running;
    Q_EMIT runningCountChanged();

    auto done = std::make_shared<bool>(false);
    auto finish = [this, process, done, completion = std::move(completion)](
                      const std::optional<QList<LogEntry>> &entries, const QString &error) {
        if (*done)
            return;
        *done = true;
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(2000);
        }
        process->deleteLater();
        --m_running;
        Q_EMIT runningCountChanged();
        completion(entries, error);
    };
    connect(process, &QProcess::finished, this,
            [process, finish](int code, QProcess::ExitStatus status) {
                const QByteArray output = process->readAllStandardOutput();
                // journalctl --grep ends with 1 when nothing matched.
                if (status == QProcess::NormalExit &&
                    (code == 0 || (code == 1 && output.trimmed().isEmpty()))) {
                    finish(parseJournal(output), QString());
                    return;
                }
                const QString message =
                    QString::fromLocal8Bit(process->readAllStandardError()).trimmed();
                finish(std::nullopt,
                       QStringLiteral("the journal reader failed (%1): %2").arg(code).arg(message));
            });
    connect(process, &QProcess::errorOccurred, this,
            [process, finish](QProcess::ProcessError error) {
                if (error == QProcess::FailedToStart)
                    finish(std::nullopt, process->errorString());
            });
    connect(timer, &QTimer::timeout, this, [finish] {
        finish(std::nullopt, QStringLiteral("the journal reader did not finish in time"));
    });
    timer->start(m_timeout);
    process->start();
}

QStringList LogReader::journalArguments(const Query &query, qint64 since) {
    QStringList arguments{QStringLiteral("--no-pager"), QStringLiteral("--output=json"),
                          QStringLiteral("--since=@%1").arg(since),
                          QStringLiteral("--lines=%1").arg(entryLimit)};
    // A job systemd runs has every line of its output in its unit's journal, whether it
    // names the label or not.
    if (!query.unit.isEmpty()) {
        arguments << (query.isUserUnit ? QStringLiteral("--user-unit=%1")
                                       : QStringLiteral("--unit=%1"))
                         .arg(query.unit);
        return arguments;
    }
    arguments << QStringLiteral("--case-sensitive=false")
              << QStringLiteral("--grep=%1").arg(QRegularExpression::escape(query.searchString));
    return arguments;
}

QList<LogEntry> LogReader::parseJournal(const QByteArray &output) {
    QList<LogEntry> entries;
    for (const QByteArray &line : output.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        bool ok = false;
        const qint64 microseconds =
            object.value(QStringLiteral("__REALTIME_TIMESTAMP")).toString().toLongLong(&ok);
        if (!ok)
            continue;
        const QString message = journalText(object.value(QStringLiteral("MESSAGE")));
        entries.append({QDateTime::fromMSecsSinceEpoch(microseconds / 1000, Qt::UTC), message});
    }
    if (entries.size() > entryLimit)
        entries.remove(0, entries.size() - entryLimit);
    return entries;
}

QList<LogEntry> LogReader::readFiles(const QStringList &files, qint64 lastSeconds) {
    QList<LogEntry> entries;
    const qint64 since = QDateTime::currentSecsSinceEpoch() - lastSeconds;
    for (const QString &path : files) {
        // Without blocking, so that a pipe put in a file's place cannot stall the helper.
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_mtime < since) {
            ::close(fd);
            continue;
        }
        QFile file;
        if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            continue;
        }
        if (file.size() > fileTailLimit)
            file.seek(file.size() - fileTailLimit);
        const QDateTime date = QDateTime::fromSecsSinceEpoch(info.st_mtime, Qt::UTC);
        const QList<QByteArray> lines = file.read(fileTailLimit).split('\n');
        for (const QByteArray &line : lines) {
            if (!line.trimmed().isEmpty())
                entries.append({date, QString::fromUtf8(line)});
        }
    }
    if (entries.size() > entryLimit)
        entries.remove(0, entries.size() - entryLimit);
    return entries;
}

} // namespace Vandra

#pragma once

#include "actions/logentry.h"
#include "platform/plistvalue.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <sys/types.h>

namespace Vandra {

// Finds the log lines of a job: in the journal where there is one, else in the job's own
// output files.
class LogReader final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogReader)

public:
    struct Query {
        QString searchString;
        qint64 lastSeconds = 0;
        // The job's unit: its journal is read instead of searching for the text.
        QString unit;
        bool isUserUnit = false;
    };
    // The entries found, or none with a message.
    using Completion =
        std::function<void(const std::optional<QList<LogEntry>> &entries, const QString &error)>;

    // At most this many entries come back, the newest.
    static constexpr int entryLimit = 2000;

    // journalCommand runs the journal reader; empty means the machine has no journal.
    LogReader(QStringList journalCommand, int timeoutMilliseconds, QObject *parent = nullptr);

    // The journal reader of this machine: VANDRA_JOURNALCTL when set (empty for none), else
    // journalctl from the PATH. For the privileged helper running as root: journalctl at its
    // fixed place, or none when VANDRA_JOURNALCTL is set and empty.
    [[nodiscard]] static QStringList journalCommandFromEnvironment(bool isPrivileged = false);
    [[nodiscard]] static std::optional<Query> parse(const PlistValue &logQuery, QString *error);

    // The user whose rights the output files are read with; by default this process's.
    void setFilesUser(uid_t uid) { m_filesUser = uid; }

    // Calls completion once, now or later. outputFiles are read when there is no journal.
    void query(const Query &query, const QStringList &outputFiles, Completion completion);
    [[nodiscard]] int runningCount() const { return m_running; }

    // The arguments of the journal reader for a query, with the entries since a moment
    // (seconds since 1970).
    [[nodiscard]] static QStringList journalArguments(const Query &query, qint64 since);
    // The entries of journalctl's JSON output, one object a line.
    [[nodiscard]] static QList<LogEntry> parseJournal(const QByteArray &output);
    // The lines of output files changed within the last seconds, each dated by its file.
    [[nodiscard]] static QList<LogEntry> readFiles(const QStringList &files, qint64 lastSeconds);

Q_SIGNALS:
    void runningCountChanged();

private:
    void queryJournal(const Query &query, Completion completion);

    QStringList m_journalCommand;
    int m_timeout;
    uid_t m_filesUser;
    int m_running = 0;
};

} // namespace Vandra

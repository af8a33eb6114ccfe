#pragma once

#include "platform/plistvalue.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QProcess;
class QTimer;

namespace Vandra {

// Runs temporary test jobs: the command once, its standard output and error into the output
// file, for at most a bound. Each run answers once, with the text of the output file.
class TestJobRunner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TestJobRunner)

public:
    struct Command {
        QString program;
        QStringList arguments;
        QString workingDirectory;
        // The job's own variables; nothing of the helper's environment is passed on.
        QHash<QString, QString> environment;
        // Whom a helper running as root runs the command as; empty for itself.
        QString userName;
        QString groupName;
    };
    // The output text, or an error message when the command could not run at all.
    using Completion = std::function<void(const QString &output)>;

    // The output read back is cut at this size.
    static constexpr qint64 outputLimit = 1024 * 1024;

    explicit TestJobRunner(int boundMilliseconds, QObject *parent = nullptr);
    ~TestJobRunner() override;

    // The command of a test job's dictionary: Program or the first of ProgramArguments,
    // with its UserName and GroupName. None when the job names no program.
    [[nodiscard]] static std::optional<Command> command(const PlistDict &job);

    // Starts the run of label with outputFile (an open plain file, which the runner now owns)
    // as its standard output and error. False, with a message, when it cannot start at all;
    // otherwise completion is called once, later.
    bool start(const QString &label, const Command &command, int outputFile, Completion completion,
               QString *error);
    // Stops the run of label if it still runs; its completion is called before this returns.
    bool stop(const QString &label);
    [[nodiscard]] bool isRunning(const QString &label) const { return m_runs.contains(label); }
    [[nodiscard]] qsizetype runningCount() const { return m_runs.size(); }

Q_SIGNALS:
    void runningCountChanged();

private:
    struct Run {
        QProcess *process = nullptr;
        qint64 group = 0; // the process group of the command
        QTimer *bound = nullptr;
        // The output file as opened at the start: read back through this, never by its name,
        // which the command may have pointed elsewhere meanwhile.
        int outputFile = -1;
        Completion completion;
    };

    void finish(const QString &label, const QString &failure = QString());
    static void killGroup(const Run &run);
    [[nodiscard]] static QString readOutput(int file);

    int m_bound;
    QHash<QString, Run> m_runs;
};

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <optional>

namespace Vandra {

// The notification agent's exceptions: the jobs of the launchd folders, each of which the
// user may leave out of the agent's notifications, and the exceptions file the agent reads.
class ExceptionsController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ExceptionsController)

public:
    // Reads the exceptions file, and follows every rebuild of the job list.
    explicit ExceptionsController(QObject *parent = nullptr);

    [[nodiscard]] const QString &exceptionsURL() const { return m_exceptionsURL; }
    // The jobs listed: those of folder-backed kinds, sorted by label.
    [[nodiscard]] const QList<JobPtr> &content() const { return m_content; }
    // Labels left out, in the order they were left out.
    [[nodiscard]] const QStringList &exceptions() const { return m_exceptions; }
    // Label prefixes left out; kept as read, never edited here.
    [[nodiscard]] const std::optional<QStringList> &exceptionsPrefix() const {
        return m_exceptionsPrefix;
    }
    // The rows can be changed only while the agent runs.
    [[nodiscard]] bool isAgentRunning() const;

    // Rebuilds content from the shared job list.
    void reload();
    // Reads the file; a file without a list of exceptions changes nothing.
    void loadExceptions();
    // Whether the job of row gets notifications (its label is no exception).
    [[nodiscard]] bool isJobEnabled(qsizetype row) const;
    // The row's check box: leaves the job out (enabled false) or takes it back, and writes
    // the file. Nothing happens for a row without a job or a job without a label.
    void setJobEnabled(qsizetype row, bool enabled);
    // The agent's check box: switches the agent and rebuilds the list.
    void runAgent();

Q_SIGNALS:
    void contentChanged();

private:
    // False when the file could not be written; the reason is in the process log.
    bool write();

    QString m_exceptionsURL;
    QList<JobPtr> m_content;
    QStringList m_exceptions;
    std::optional<QStringList> m_exceptionsPrefix;
    // The file was there without a list of exceptions; it is set aside before a write.
    bool m_isFileUnusable = false;
};

} // namespace Vandra

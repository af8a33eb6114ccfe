#pragma once

#include "actions/action.h"
#include "helper/pathpolicy.h"
#include "platform/plistvalue.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTimer;

namespace Vandra {

class LoadBackend;
class LogReader;
class TestJobRunner;

// Carries out requests: writes, removes, loads and unloads job files inside the served
// folders, starts and stops loaded jobs, tells their live status, runs test jobs and reads
// logs. Every request gets exactly one reply dictionary:
// empty on success, with "error" on failure; a refused request touches nothing.
class ActionService final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ActionService)

public:
    using Reply = std::function<void(const PlistDict &reply)>;

    struct Parts {
        PathPolicy policy;
        std::unique_ptr<LoadBackend> backend;
        TestJobRunner *runner = nullptr;
        LogReader *logReader = nullptr;
        // The privileged helper also removes the program's own helpers.
        bool isPrivileged = false;
        // What the log of refusals calls this helper.
        QString name;
    };

    explicit ActionService(Parts parts, QObject *parent = nullptr);
    ~ActionService() override;

    // Calls reply exactly once, now or later.
    void handle(const PlistDict &request, const Reply &reply);
    // The generation of the live status: it changes whenever a job's status may have.
    [[nodiscard]] qint64 statusGeneration() const { return m_generation; }
    // Test runs or log queries are outstanding.
    [[nodiscard]] bool isBusy() const;

    [[nodiscard]] static PlistDict errorReply(Action::ErrorCode code, const QString &description);

Q_SIGNALS:
    void busyChanged();
    // The privileged helper was asked to remove the program's helpers; it ends after the reply.
    void uninstallRequested();

private:
    PlistDict save(const PlistDict &request, bool andLoad);
    PlistDict remove(const PlistDict &request);
    PlistDict unload(const PlistDict &request);
    PlistDict load(const PlistDict &request);
    void test(const PlistDict &request, const Reply &reply);
    void log(const PlistDict &request, const Reply &reply);
    PlistDict uninstallHelpers();
    PlistDict startOrStop(const PlistDict &request, bool isStart);
    void status(const PlistDict &request, const Reply &reply);
    [[nodiscard]] PlistDict statusReply() const;
    // The status may have changed: waiting status requests are answered a moment later, once
    // for a burst of changes.
    void statusChanged();
    void answerWaiters();

    PlistDict refuse(Action::ErrorCode code, const QString &kindName, const QString &why) const;
    bool unloadTestJob(const PathPolicy::Resolved &testJob, const std::optional<QString> &label,
                       QString *error);
    [[nodiscard]] QStringList outputFilesOf(const QString &label) const;

    Parts m_parts;
    // The output file of each test job, by its job file.
    QHash<QString, QString> m_testOutputs;
    // The label of each test job, by its job file.
    QHash<QString, QString> m_testLabels;
    qint64 m_generation = 1;
    // Status requests that wait for a change.
    QList<Reply> m_statusWaiters;
    QTimer *m_statusTimer;
};

} // namespace Vandra

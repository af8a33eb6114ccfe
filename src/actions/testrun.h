#pragma once

#include "actions/action.h"
#include "model/job.h"
#include "platform/plistvalue.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QTimer;

namespace Vandra {

class ActionController;

// The core of the test view: runs the selected job's command once as a temporary job with a
// fresh label, shows what it printed, and unloads the temporary job again after a while or
// when the view closes, whichever comes first.
class TestRun final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TestRun)

public:
    // The temporary job still to unload.
    struct RemoveJob {
        QString label;
        bool privileged = false;
        QString url;
    };

    static constexpr int removeDelay = 30000; // ms

    explicit TestRun(ActionController &controller, QObject *parent = nullptr);
    // The view goes: the temporary job is unloaded at once.
    ~TestRun() override;

    // The program arguments of the temporary job for a Run text, with the automatic help.
    [[nodiscard]] static QStringList programArguments(const QString &run);
    // The temporary job: nothing of the job is copied but its command.
    [[nodiscard]] static PlistDict temporaryJob(const QStringList &programArguments,
                                                const QString &label, const QString &outputPath);

    // The view came on screen: tests job, or beeps and shows the empty output when there is
    // no job or its command is empty.
    void appear(const JobPtr &job);
    void runTest(const JobPtr &job);
    // Unloads the temporary job, if any, and stops spinning.
    void removeJob();
    // The output of the test, or a message of this side.
    void show(const QString &output);
    // Asked before the popover closes; a privileged test refuses the first close, which the
    // authorization prompt would otherwise cause.
    [[nodiscard]] bool shouldClose();

    [[nodiscard]] bool isRunning() const { return m_isRunning; }
    [[nodiscard]] const QString &output() const { return m_output; }
    // Empty output shows the no-error text instead, centred.
    [[nodiscard]] bool showsNoError() const { return m_showsNoError; }
    [[nodiscard]] const std::optional<RemoveJob> &jobToRemove() const { return m_jobToRemove; }
    [[nodiscard]] bool isRemoveTimerActive() const;
    [[nodiscard]] bool remainOpenAfterAuthentication() const { return m_remainOpen; }
    // For tests: a shorter wait before the temporary job is unloaded.
    void setRemoveDelay(int milliseconds) { m_removeDelay = milliseconds; }

Q_SIGNALS:
    void runningChanged(bool isRunning);
    void outputShown(const QString &text, bool isNoError);

private:
    void setRunning(bool running);

    ActionController &m_controller;
    QTimer *m_removeTimer = nullptr;
    std::optional<RemoveJob> m_jobToRemove;
    // The view is the test request's creator and keeps it until the output is shown.
    ActionPtr m_request;
    bool m_remainOpen = false;
    bool m_isRunning = false;
    QString m_output;
    bool m_showsNoError = false;
    int m_removeDelay = removeDelay;
};

} // namespace Vandra

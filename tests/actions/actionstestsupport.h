#pragma once

// Scripted stand-ins for the windows the controller talks to.

#include "actions/actiondelegate.h"
#include "actions/logsession.h"
#include "actions/testrun.h"
#include "model/bindings.h"
#include "support/interaction.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <utility>

namespace Vandra {

// Records every alert and beep; answers with the first button.
class RecordingInteraction final : public Interaction {
public:
    RecordingInteraction() { Interaction::setShared(this); }
    ~RecordingInteraction() override { Interaction::setShared(nullptr); }

    int alert(const AlertRequest &request) override {
        alerts.append({request.message, request.informativeText});
        return firstButton;
    }
    std::optional<QString> savePanel(const FilePanelRequest &) override { return std::nullopt; }
    std::optional<QString> openPanel(const FilePanelRequest &) override { return std::nullopt; }
    void beep() override { ++beeps; }

    QList<std::pair<QString, QString>> alerts;
    int beeps = 0;
};

// The editor, job list and open views as the controller sees them.
class RecordingDelegate final : public ActionDelegate {
public:
    bool hasDetailEditor() const override { return isEditorOpen; }
    // As the editor does: the saving state ends and the job counts as saved.
    void endSaving() override {
        ++endSavingCount;
        Bindings::shared().setEdited(false);
    }
    void reloadJobs() override { ++reloadCount; }
    void clearSelectedJob() override { ++clearCount; }
    void showTestOutput(const QString &output) override {
        testOutputs.append(output);
        if (testRun)
            testRun->show(output);
    }
    void showLogEntries(const QList<LogEntry> &entries) override {
        logReplies.append(entries);
        if (logSession)
            logSession->showEntries(entries);
    }
    void resetLogViewer() override {
        ++logResetCount;
        if (logSession)
            logSession->reset();
    }

    bool isEditorOpen = true;
    int endSavingCount = 0;
    int reloadCount = 0;
    int clearCount = 0;
    int logResetCount = 0;
    QStringList testOutputs;
    QList<QList<LogEntry>> logReplies;
    QPointer<TestRun> testRun;
    QPointer<LogSession> logSession;
};

} // namespace Vandra

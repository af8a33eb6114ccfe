#pragma once

#include "actions/action.h"
#include "actions/actiondelegate.h"
#include "model/change.h"
#include "model/job.h"
#include "model/kind.h"
#include "model/rulerow.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace Vandra {

class ActionController;
class RevisionController;
class RuleEditorModel;
class WhenSwitches;

// The core of the detail editor: the current job's Name and Run fields, every edit the form
// makes to the job, and the commands that change jobs on disk (save, new, duplicate, import,
// export, delete, discard). Requests go through the action controller, whose replies come
// back here, since the editor is its delegate for as long as it lives.
class JobEditor final : public QObject, public ActionDelegate {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobEditor)

public:
    // The check boxes of the advanced page.
    enum class Box {
        lowPriorityIO,
        legacyTimers,
        sessionCreate,
        successfulExit,
        launchOnlyOnce,
        abandonProcessGroup,
        limitLoadToSessionType,
    };
    // The text fields of the advanced page.
    enum class Field {
        userName,
        machServices,
        watchPaths,
        workingDirectory,
        standardOutPath,
        standardErrorPath,
    };
    // The four Choose buttons of the advanced page, by their tag.
    enum class PathButton { watchPaths = 0, workingDirectory, standardOutPath, standardErrorPath };
    // What the unsaved-changes alert led to.
    enum class UnsavedAnswer { keepEditing, discarded, quit };

    JobEditor(ActionController &controller, RevisionController &revisions,
              QObject *parent = nullptr);
    ~JobEditor() override;

    [[nodiscard]] const QString &nameField() const { return m_nameField; }
    [[nodiscard]] const QString &runField() const { return m_runField; }
    [[nodiscard]] RuleEditorModel &ruleEditor() const { return *m_ruleEditor; }
    [[nodiscard]] WhenSwitches &whenSwitches() const { return *m_whenSwitches; }

    // Shows the current job: the Name and Run fields take its label and command.
    void updateForm();

    // Edits of the form, on the current job; nothing happens without one.
    void setNameText(const QString &text);
    void setRunText(const QString &text);
    void setKind(Kind kind);
    void setEnabledChecked(bool isOn);
    void setBox(Box box, bool isOn);
    void setFieldText(Field field, const QString &text);
    void setSessionTypeIndex(qint64 index);
    // The path a Choose button's panel returned; stored as if typed into its field.
    void setChosenPath(PathButton button, const QString &path);
    // Asks for a path through the interaction and stores it; false when cancelled.
    bool choosePath(PathButton button);
    [[nodiscard]] static Field fieldOf(PathButton button);
    // The job file's key behind a check box or text field; empty for those whose value is a
    // field of the job rather than a key of its dictionary.
    [[nodiscard]] static QString plistKey(Box box);
    [[nodiscard]] static QString plistKey(Field field);

    // Records a change on the current job and marks the editor edited.
    static void markChanged(Change change);

    // Saving the current job. False when nothing could be sent. A save that first unloads
    // the job sends its request a moment later, from the event loop.
    bool save();
    // A fresh user agent at the front of the list, made the current job.
    JobPtr newJob(const QString &label, const QString &run);
    JobPtr newAction() { return newJob(QString(), QString()); }
    // A copy of the current job's file as a new job; none when there is nothing to copy.
    JobPtr duplicate();
    // A job file chosen through the interaction, as a new job.
    JobPtr importAction();
    JobPtr importFile(const QString &path);
    // Writes the current job's text to a file chosen through the interaction.
    bool exportAction();
    bool exportTo(const QString &path);
    // Deletes the current job or login item after the user confirms.
    bool deleteAction();
    // Drops the current job's edits and reads the list again.
    void discard();

    // The alert guarding unsaved edits when the user leaves the job or quits.
    UnsavedAnswer unsavedChangesAlert();
    [[nodiscard]] bool isQuitting() const { return m_isQuitting; }
    void setQuitting(bool quitting) { m_isQuitting = quitting; }

    // ActionDelegate
    [[nodiscard]] bool hasDetailEditor() const override { return true; }
    void endSaving() override;
    void reloadJobs() override;
    void clearSelectedJob() override;
    void showTestOutput(const QString &output) override;
    void showLogEntries(const QList<LogEntry> &entries) override;
    void resetLogViewer() override;

    // moved(k): the place of file in the folder of kind, made unique with a UUID when a file
    // of that name is there already. None when the kind has no folder.
    [[nodiscard]] static std::optional<QString> movedFile(const QString &file, Kind kind);
    // The file a new job of that label gets in folder.
    [[nodiscard]] static QString newFileName(const QString &folder, const QString &label);

Q_SIGNALS:
    // The Name and Run fields changed from the program's side.
    void formChanged();
    // A new job wants its name selected for typing.
    void selectNameField();
    void quitRequested();
    void testOutputArrived(const QString &output);
    void logEntriesArrived(const QList<LogEntry> &entries);
    void logViewerReset();

private:
    void beginSaving();
    bool failSaving();
    bool exportJob(Job &job, const QString &path);
    void insertAndSelect(const JobPtr &job);
    void keep(const ActionPtr &action);
    // A save request for the privileged helper, with what it needs to be sent later.
    struct PrivilegedSave {
        JobPtr job;
        ActionPtr request;
        QString file;
        Kind kind;
        bool kindChanged;
        bool exists;
        bool isEnabled;
        RuleRows rows;
    };
    bool sendPrivilegedSave(const PrivilegedSave &save);
    // Records the revision of a save on its way, or ends the saving state when none left.
    bool finishSending(bool isSent, Job &job, const RuleRows &rows);
    void sendUnload(const QString &file, const std::optional<QString> &label);

    ActionController &m_controller;
    RevisionController &m_revisions;
    RuleEditorModel *m_ruleEditor;
    WhenSwitches *m_whenSwitches;
    QString m_nameField;
    QString m_runField;
    bool m_isQuitting = false;
    // The controller holds requests weakly; the ones whose replies matter are kept here.
    QList<ActionPtr> m_sent;
};

} // namespace Vandra

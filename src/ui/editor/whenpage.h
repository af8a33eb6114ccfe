#pragma once

#include "schedule/whenswitches.h"

#include <QMap>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;

namespace Vandra {

class JobEditor;
class RuleEditorWidget;

// The When page: the four switches that decide when the job runs, and the rule editor of its
// schedule, with a warning for schedule entries the rules cannot show exactly.
class WhenPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WhenPage)

public:
    explicit WhenPage(JobEditor &editor, QWidget *parent = nullptr);

    // Lines about schedule entries of the file that the rules would change; hidden when empty.
    void setScheduleWarnings(const QStringList &lines);
    // What keep-alive means for this job when the file sets conditions; hidden when empty.
    void setKeepAliveNote(const QString &text);

    [[nodiscard]] RuleEditorWidget *ruleEditor() const { return m_ruleEditor; }

Q_SIGNALS:
    void edited();

private:
    // The notes about the current job's file: its inexact schedule and its conditional
    // keep-alive.
    void showFileNotes();
    void showSwitch(WhenSwitches::Switch which, bool isOn);
    void updateEnabling();

    JobEditor &m_editor;
    QMap<WhenSwitches::Switch, QCheckBox *> m_switches;
    QLabel *m_keepAliveNote;
    QLabel *m_scheduleWarning;
    RuleEditorWidget *m_ruleEditor;
};

} // namespace Vandra

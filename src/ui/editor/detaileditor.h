#pragma once

#include "model/job.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace Vandra {

class ActionController;
class AdvancedPage;
class CodeTheme;
class DiagnosticsPage;
class JobDiff;
class InfoView;
class JobEditor;
class JobForm;
class TestPopover;
struct ViewServices;
class WhenPage;

// The editor beside the job list: the form, When and Advanced pages of the current job, the
// buttons that save, discard, test and explain it, and the job's file as it would be saved.
class DetailEditor final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DetailEditor)

public:
    // The pages' positions in the tabs.
    enum Page { formPage = 0, whenPage = 1, advancedPage = 2, diagnosticsPage = 3 };

    DetailEditor(JobEditor &editor, ActionController &controller, const CodeTheme &theme,
                 const ViewServices &view, QWidget *parent = nullptr);
    ~DetailEditor() override;

    [[nodiscard]] JobEditor &editor() const { return m_editor; }
    [[nodiscard]] const JobPtr &job() const;
    [[nodiscard]] WhenPage *when() const { return m_when; }
    [[nodiscard]] InfoView *info() const { return m_info; }
    [[nodiscard]] DiagnosticsPage *diagnostics() const { return m_diagnostics; }
    [[nodiscard]] QTabWidget *tabs() const { return m_tabs; }
    // The open test popover, if any.
    [[nodiscard]] TestPopover *testPopover() const;

    // The buttons' commands, also reached from the menus. A save that would change keys the
    // user did not edit asks first.
    void save();
    void discard();
    void test();
    void help();
    [[nodiscard]] bool canSave() const;

Q_SIGNALS:
    // Whether saving is possible now changed.
    void canSaveChanged(bool canSave);

private:
    void updateButtons();
    void refreshInfo();
    void scheduleInfoRefresh();
    // What a save of the current job would change; none without a job file.
    [[nodiscard]] std::optional<JobDiff> currentDiff() const;
    [[nodiscard]] bool confirmUntouchedKeys();
    void showDiagnosticsBadge();

    JobEditor &m_editor;
    ActionController &m_controller;
    QTabWidget *m_tabs;
    JobForm *m_form;
    WhenPage *m_when;
    AdvancedPage *m_advanced;
    DiagnosticsPage *m_diagnostics;
    QPushButton *m_helpButton;
    QProgressBar *m_saveProgress;
    QPushButton *m_testButton;
    QPushButton *m_discardButton;
    QPushButton *m_saveButton;
    InfoView *m_info;
    QTimer *m_infoTimer;
    QPointer<TestPopover> m_testPopover;
};

} // namespace Vandra

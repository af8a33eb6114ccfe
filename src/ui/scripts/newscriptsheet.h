#pragma once

#include "model/job.h"
#include "store/scriptsyntax.h"
#include "ui/scripts/scripttheme.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QsciScintilla;

namespace Vandra {

class JobEditor;

// New Script: a sheet for writing a script and naming it; saving writes the script and makes
// a new job that runs it.
class NewScriptSheet final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NewScriptSheet)

public:
    // The settings key the sheet's frame is remembered under.
    static inline const QString frameKey = QStringLiteral("NewScriptSheet");

    NewScriptSheet(JobEditor &editor, const ScriptTheme &theme, QWidget *parent = nullptr);
    ~NewScriptSheet() override;

    [[nodiscard]] QLineEdit &nameField() const { return *m_nameField; }
    [[nodiscard]] QsciScintilla &scriptEditor() const { return *m_scriptEditor; }
    // The language the first line names, which decides the interpreter.
    [[nodiscard]] SyntaxType syntaxType() const { return m_syntaxType; }
    // The job made by the last successful save.
    [[nodiscard]] const JobPtr &job() const { return m_job; }

    void applyTheme(const ScriptTheme &theme);
    // Asks where to save; on success the sheet closes.
    void saveScript();

    void done(int result) override;

private:
    void detectSyntax();

    JobEditor &m_editor;
    ScriptTheme m_theme;
    QLineEdit *m_nameField;
    QsciScintilla *m_scriptEditor;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;
    SyntaxType m_syntaxType = SyntaxType::plain;
    JobPtr m_job;
};

} // namespace Vandra

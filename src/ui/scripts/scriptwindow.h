#pragma once

#include "platform/textencoding.h"
#include "store/scriptfile.h"
#include "store/scriptrecovery.h"
#include "store/scriptsyntax.h"
#include "ui/scripts/scripttheme.h"

#include <QMainWindow>
#include <QString>

class QAction;
class QTimer;
class QsciScintilla;

namespace Vandra {

// The editor window of one script file: its text with colouring and line numbers, Save,
// Save As, Revert and Close, and autosave of unsaved edits to a recovery copy.
class ScriptWindow final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptWindow)

public:
    // How long typing must pause before the recovery copy is written.
    static constexpr int autosaveDelay = 2000;

    ScriptWindow(const QString &path, const ScriptText &script, const ScriptTheme &theme,
                 QWidget *parent = nullptr);
    ~ScriptWindow() override;

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] const TextEncoding &encoding() const { return m_encoding; }
    [[nodiscard]] SyntaxType syntax() const { return m_syntax; }
    [[nodiscard]] QsciScintilla &editor() const { return *m_editor; }
    [[nodiscard]] bool isModified() const;
    [[nodiscard]] const ScriptRecovery &recovery() const { return m_recovery; }

    // Writes the text to its file in its encoding; false, after telling the user, when not.
    bool save();
    // Asks for a new place and saves there; the window then edits that file.
    bool saveAs();
    bool saveTo(const QString &path);
    // Asks, then reads the file again, dropping the edits.
    void revert();
    // Reads the file again without asking; false, after telling the user, when it cannot.
    bool reload();
    // Puts the unsaved text into the recovery copy now.
    bool autosave();
    // Takes the text of an earlier session's recovery copy as unsaved edits.
    void restore(const QString &text);

    // Recolours the text; undo history is not touched.
    void applyTheme(const ScriptTheme &theme);
    [[nodiscard]] const ScriptTheme &theme() const { return m_theme; }

Q_SIGNALS:
    // The window now edits another file (after Save As).
    void pathChanged(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void setText(const QString &text);
    void detectSyntax();
    void updateLineNumberWidth();
    void updateTitle();
    void textChanged();

    QString m_path;
    TextEncoding m_encoding;
    SyntaxType m_syntax = SyntaxType::plain;
    ScriptTheme m_theme;
    ScriptRecovery m_recovery;
    QsciScintilla *m_editor;
    QTimer *m_autosaveTimer;
    int m_lineNumberDigits = 0;
};

} // namespace Vandra

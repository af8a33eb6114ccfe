#pragma once

#include "store/rawplisteditor.h"
#include "ui/sheets/sheetdialog.h"

class QLabel;
class QPushButton;

namespace Vandra {

class CodeTheme;
class CodeView;

// Edits the current job as property-list text. Change makes the text the current job as an
// unsaved edit; a text that is no job keeps the sheet open and says why.
class EditPlistSheet final : public SheetDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EditPlistSheet)

public:
    explicit EditPlistSheet(const CodeTheme &theme, QWidget *parent = nullptr);

    [[nodiscard]] CodeView *textView() const { return m_textView; }

    // Where a parser's message points: line and column from 1, column 0 when it names none.
    struct Position {
        int line = 0;
        int column = 0;
    };
    [[nodiscard]] static std::optional<Position> errorPosition(const QString &message);

Q_SIGNALS:
    // The text became the current job.
    void jobChanged();

private:
    void change();
    void textEdited();
    void explainRefusal(const QString &text);

    RawPlistEditor m_editor;
    QLabel *m_title;
    CodeView *m_textView;
    QLabel *m_errorLabel;
    QPushButton *m_cancelButton;
    QPushButton *m_changeButton;
    bool m_isLoading = false;
};

} // namespace Vandra

#pragma once

#include <Qsci/qsciscintilla.h>

class QsciLexerXML;

namespace Vandra {

class CodeTheme;

// A text view for property lists and other code: line numbers in a margin as wide as the
// line count needs, XML colouring in the colours of the code theme, read-only unless made
// editable.
class CodeView final : public QsciScintilla {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CodeView)

public:
    explicit CodeView(const CodeTheme &theme, QWidget *parent = nullptr);

    void setEditable(bool editable) { setReadOnly(!editable); }
    [[nodiscard]] bool isEditable() const { return !isReadOnly(); }
    // Replaces the text, leaving the view where it was when only the text changes.
    void showText(const QString &text);
    // Puts the caret at a line and column counted from 1, as parsers report them.
    void moveCaretTo(int line, int column);

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyTheme();
    void fitMargin();

    const CodeTheme &m_theme;

    QsciLexerXML *m_lexer;
};

} // namespace Vandra

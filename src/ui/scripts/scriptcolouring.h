#pragma once

#include "store/scriptsyntax.h"
#include "ui/scripts/scripttheme.h"

class QObject;
class QsciLexer;
class QsciScintilla;

namespace Vandra {

// Colouring of script text: the lexer for a syntax, and a theme's colours on a text view.
class ScriptColouring final {
public:
    ScriptColouring() = delete;

    // The lexer for syntax, owned by parent; none for plain text.
    [[nodiscard]] static QsciLexer *lexerFor(SyntaxType syntax, QObject *parent);
    // Gives view the lexer of syntax, in theme's colours, replacing the lexer it had.
    static void setSyntax(QsciScintilla &view, SyntaxType syntax, const ScriptTheme &theme);
    // Puts theme's colours on view and on its lexer, if it has one.
    static void apply(QsciScintilla &view, const ScriptTheme &theme);
    // The colour theme gives a lexer style, judged by the style's description.
    [[nodiscard]] static QColor colourOfStyle(const QString &description, const ScriptTheme &theme);
};

} // namespace Vandra

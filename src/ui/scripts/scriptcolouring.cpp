#include "ui/scripts/scriptcolouring.h"

#include <QFontDatabase>
#include <Qsci/qscilexerbash.h>
#include <Qsci/qscilexercpp.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerjavascript.h>
#include <Qsci/qscilexerperl.h>
#include <Qsci/qscilexerpython.h>
#include <Qsci/qscilexerruby.h>
#include <Qsci/qscilexerxml.h>
#include <Qsci/qsciscintilla.h>

namespace Vandra {

namespace {

// Scintilla's style numbers stop below this.
constexpr int styleCount = 128;

} // namespace

QsciLexer *ScriptColouring::lexerFor(SyntaxType syntax, QObject *parent) {
    switch (syntax) {
    case SyntaxType::shell:
    case SyntaxType::bash:
    case SyntaxType::zsh:
        return new QsciLexerBash(parent);
    case SyntaxType::python:
        return new QsciLexerPython(parent);
    case SyntaxType::perl:
        return new QsciLexerPerl(parent);
    case SyntaxType::ruby:
        return new QsciLexerRuby(parent);
    case SyntaxType::php:
        return new QsciLexerHTML(parent);
    // Swift's comments, strings and numbers are written as in C.
    case SyntaxType::swift:
        return new QsciLexerCPP(parent);
    case SyntaxType::javascript:
        return new QsciLexerJavaScript(parent);
    case SyntaxType::xml:
        return new QsciLexerXML(parent);
    case SyntaxType::applescript:
    case SyntaxType::plain:
        return nullptr;
    }
    return nullptr;
}

QColor ScriptColouring::colourOfStyle(const QString &description, const ScriptTheme &theme) {
    const QString name = description.toLower();
    if (name.contains(u"comment"))
        return theme.comment;
    if (name.contains(u"string") || name.contains(u"quote") || name.contains(u"heredoc") ||
        name.contains(u"character") || name.contains(u"value"))
        return theme.string;
    if (name.contains(u"number"))
        return theme.number;
    if (name.contains(u"keyword") || name.contains(u"word") || name.contains(u"tag"))
        return theme.keyword;
    return theme.foreground;
}

void ScriptColouring::setSyntax(QsciScintilla &view, SyntaxType syntax, const ScriptTheme &theme) {
    QsciLexer *old = view.lexer();
    view.setLexer(lexerFor(syntax, &view));
    delete old;
    apply(view, theme);
}

void ScriptColouring::apply(QsciScintilla &view, const ScriptTheme &theme) {
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    view.setFont(font);
    view.setPaper(theme.background);
    view.setColor(theme.foreground);
    if (QsciLexer *lexer = view.lexer()) {
        lexer->setDefaultPaper(theme.background);
        lexer->setDefaultColor(theme.foreground);
        lexer->setDefaultFont(font);
        lexer->setFont(font, -1);
        lexer->setPaper(theme.background, -1);
        for (int style = 0; style < styleCount; ++style) {
            const QString description = lexer->description(style);
            if (!description.isEmpty())
                lexer->setColor(colourOfStyle(description, theme), style);
        }
    }
    view.setMarginsFont(font);
    view.setMarginsBackgroundColor(theme.lineNumberBackground);
    view.setMarginsForegroundColor(theme.lineNumberForeground);
    view.setSelectionBackgroundColor(theme.selection);
    view.setCaretForegroundColor(theme.caret);
}

} // namespace Vandra

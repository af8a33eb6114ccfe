#include "ui/common/codeview.h"

#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"

#include <QEvent>
#include <QFontDatabase>
#include <QScrollBar>
#include <Qsci/qscilexerxml.h>

namespace Vandra {

CodeView::CodeView(const CodeTheme &theme, QWidget *parent)
    : QsciScintilla(parent)
    , m_theme(theme)
    , m_lexer(new QsciLexerXML(this)) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_lexer->setDefaultFont(fixed);
    m_lexer->setFont(fixed);
    setUtf8(true);
    setReadOnly(true);
    setMarginType(0, QsciScintilla::NumberMargin);
    setMarginLineNumbers(0, true);
    setFrameShape(QFrame::NoFrame);
    setWrapMode(QsciScintilla::WrapNone);
    setTabWidth(int(Defaults::shared().integerValue(UserDefaultsKeys::editorTabWidth)));
    connect(this, &QsciScintilla::linesChanged, this, &CodeView::fitMargin);
    connect(&m_theme, &CodeTheme::changed, this, &CodeView::applyTheme);
    applyTheme();
}

void CodeView::showText(const QString &shown) {
    if (shown == text())
        return;
    const int top = verticalScrollBar()->value();
    setText(shown);
    verticalScrollBar()->setValue(top);
}

void CodeView::moveCaretTo(int line, int column) {
    const int row = qBound(0, line - 1, qMax(0, lines() - 1));
    const int index = qBound(0, column - 1, qMax(0, lineLength(row)));
    setCursorPosition(row, index);
    ensureLineVisible(row);
}

void CodeView::changeEvent(QEvent *event) {
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_theme.chosen() < 0)
        applyTheme();
}

void CodeView::fitMargin() {
    // Room for one digit more than the line count has, so the numbers never touch the text.
    setMarginWidth(0, QString(QString::number(qMax(lines(), 1)).size() + 1, u'9'));
}

void CodeView::applyTheme() {
    const CodeTheme::Colours &set = m_theme.colours(palette());
    m_lexer->setDefaultPaper(set.paper);
    m_lexer->setPaper(set.paper);
    m_lexer->setDefaultColor(set.text);
    m_lexer->setColor(set.text);
    for (const int style :
         {QsciLexerHTML::Tag, QsciLexerHTML::UnknownTag, QsciLexerHTML::XMLTagEnd})
        m_lexer->setColor(set.tag, style);
    m_lexer->setColor(set.attribute, QsciLexerHTML::Attribute);
    m_lexer->setColor(set.attribute, QsciLexerHTML::UnknownAttribute);
    m_lexer->setColor(set.string, QsciLexerHTML::HTMLDoubleQuotedString);
    m_lexer->setColor(set.string, QsciLexerHTML::HTMLSingleQuotedString);
    m_lexer->setColor(set.comment, QsciLexerHTML::HTMLComment);
    m_lexer->setColor(set.entity, QsciLexerHTML::Entity);
    for (const int style :
         {QsciLexerHTML::XMLStart, QsciLexerHTML::XMLEnd, QsciLexerHTML::SGMLDefault})
        m_lexer->setColor(set.declaration, style);
    m_lexer->setColor(set.data, QsciLexerHTML::CDATA);
    // Setting the lexer again hands its colours to the view and resets the margins.
    setLexer(m_lexer);
    setCaretForegroundColor(set.text);
    setMarginsBackgroundColor(set.margin);
    setMarginsForegroundColor(set.marginText);
    setSelectionBackgroundColor(set.selection);
    setSelectionForegroundColor(set.selectionText);
    fitMargin();
}

} // namespace Vandra

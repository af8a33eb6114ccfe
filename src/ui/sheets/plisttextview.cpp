#include "ui/sheets/plisttextview.h"

#include <QEvent>
#include <QFontDatabase>
#include <QPalette>
#include <Qsci/qscilexerxml.h>

PlistTextView::PlistTextView(QWidget *parent)
    : QsciScintilla(parent)
    , m_lexer(new QsciLexerXML(this)) {
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_lexer->setDefaultFont(fixed);
    m_lexer->setFont(fixed);
    setUtf8(true);
    setLexer(m_lexer);
    setMarginType(0, QsciScintilla::NumberMargin);
    setMarginLineNumbers(0, true);
    setWrapMode(QsciScintilla::WrapNone);
    setTabWidth(4);
    connect(this, &QsciScintilla::linesChanged, this, &PlistTextView::fitMargin);
    followPalette();
}

PlistTextView::Colors PlistTextView::Colors::forPalette(const QPalette &palette) {
    const bool isDark = palette.color(QPalette::Base).lightness() < 128;
    Colors colors;
    colors.text = isDark ? QColor(0xe6, 0xed, 0xf3) : QColor(0x1f, 0x23, 0x28);
    colors.tag = isDark ? QColor(0x79, 0xc0, 0xff) : QColor(0x05, 0x50, 0xae);
    colors.attribute = isDark ? QColor(0xd2, 0xa8, 0xff) : QColor(0x82, 0x50, 0xdf);
    colors.string = isDark ? QColor(0xa5, 0xd6, 0xff) : QColor(0x0a, 0x30, 0x69);
    colors.comment = isDark ? QColor(0x8b, 0x94, 0x9e) : QColor(0x6e, 0x77, 0x81);
    colors.entity = isDark ? QColor(0xff, 0xa6, 0x57) : QColor(0x95, 0x38, 0x00);
    colors.declaration = isDark ? QColor(0xff, 0x7b, 0x72) : QColor(0xcf, 0x22, 0x2e);
    colors.data = isDark ? QColor(0x7e, 0xe7, 0x87) : QColor(0x11, 0x63, 0x29);
    colors.paper = palette.color(QPalette::Base);
    colors.margin = palette.color(QPalette::Window);
    colors.marginText = palette.color(QPalette::PlaceholderText);
    colors.selection = palette.color(QPalette::Highlight);
    colors.selectedText = palette.color(QPalette::HighlightedText);
    return colors;
}

void PlistTextView::applyColors(const Colors &colors) {
    m_hasOwnColors = true;
    m_lexer->setDefaultPaper(colors.paper);
    m_lexer->setPaper(colors.paper);
    m_lexer->setDefaultColor(colors.text);
    m_lexer->setColor(colors.text);
    for (const int style :
         {QsciLexerHTML::Tag, QsciLexerHTML::UnknownTag, QsciLexerHTML::XMLTagEnd})
        m_lexer->setColor(colors.tag, style);
    m_lexer->setColor(colors.attribute, QsciLexerHTML::Attribute);
    m_lexer->setColor(colors.attribute, QsciLexerHTML::UnknownAttribute);
    m_lexer->setColor(colors.string, QsciLexerHTML::HTMLDoubleQuotedString);
    m_lexer->setColor(colors.string, QsciLexerHTML::HTMLSingleQuotedString);
    m_lexer->setColor(colors.comment, QsciLexerHTML::HTMLComment);
    m_lexer->setColor(colors.entity, QsciLexerHTML::Entity);
    for (const int style :
         {QsciLexerHTML::XMLStart, QsciLexerHTML::XMLEnd, QsciLexerHTML::SGMLDefault})
        m_lexer->setColor(colors.declaration, style);
    m_lexer->setColor(colors.data, QsciLexerHTML::CDATA);
    // Setting the lexer again hands its colours to the editor and resets the margins.
    setLexer(m_lexer);
    setMarginType(0, QsciScintilla::NumberMargin);
    setMarginLineNumbers(0, true);
    setCaretForegroundColor(colors.text);
    setMarginsBackgroundColor(colors.margin);
    setMarginsForegroundColor(colors.marginText);
    setSelectionBackgroundColor(colors.selection);
    setSelectionForegroundColor(colors.selectedText);
    fitMargin();
}

void PlistTextView::moveCaretTo(int line, int column) {
    const int row = qBound(0, line - 1, qMax(0, lines() - 1));
    const int index = qBound(0, column - 1, qMax(0, lineLength(row)));
    setCursorPosition(row, index);
    ensureLineVisible(row);
}

void PlistTextView::changeEvent(QEvent *event) {
    QsciScintilla::changeEvent(event);
    // Colours chosen by the program's theme stay; otherwise follow the palette.
    if (event->type() == QEvent::PaletteChange && !m_hasOwnColors)
        followPalette();
}

void PlistTextView::followPalette() {
    applyColors(Colors::forPalette(palette()));
    m_hasOwnColors = false;
}

void PlistTextView::fitMargin() {
    // One digit more than the line count has, so the numbers never touch the text.
    setMarginWidth(0, QString(QString::number(qMax(1, lines())).size() + 1, u'0'));
}

#pragma once

#include <QColor>
#include <Qsci/qsciscintilla.h>

class QPalette;
class QsciLexerXML;

// The editable property-list text of the Edit Plist sheet: XML colouring and a line-number
// margin as wide as the line count needs.
class PlistTextView final : public QsciScintilla {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlistTextView)

public:
    struct Colors {
        QColor paper, text, tag, attribute, string, comment, entity, declaration, data;
        QColor margin, marginText, selection, selectedText;

        // The light or dark set that suits a palette.
        [[nodiscard]] static Colors forPalette(const QPalette &palette);
    };

    explicit PlistTextView(QWidget *parent = nullptr);

    void applyColors(const Colors &colors);
    // Puts the caret at a line and column counted from 1, as parsers report them.
    void moveCaretTo(int line, int column);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitMargin();
    void followPalette();

    QsciLexerXML *m_lexer;
    bool m_hasOwnColors = false;
};

#pragma once

#include <QWidget>

class QLabel;
class QsciLexerDiff;
class QsciScintilla;

namespace Vandra {

class CodeTheme;
class JobDiff;

// What a save would change: a sentence naming the keys that change, then the whole file as
// stored with the lines a save removes and adds marked, in the colours of the code theme.
class ChangesView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChangesView)

public:
    explicit ChangesView(const CodeTheme &theme, QWidget *parent = nullptr);

    void showDiff(const JobDiff &diff);
    void clear();
    [[nodiscard]] QLabel *keysLabel() const { return m_keysLabel; }
    [[nodiscard]] QsciScintilla *diffText() const { return m_diffText; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyTheme();

    const CodeTheme &m_theme;
    QLabel *m_keysLabel;
    QsciScintilla *m_diffText;
    QsciLexerDiff *m_lexer;
};

} // namespace Vandra

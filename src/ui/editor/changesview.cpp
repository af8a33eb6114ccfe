#include "ui/editor/changesview.h"

#include "store/jobdiff.h"
#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/common/codetheme.h"
#include "ui/editor/controlnames.h"

#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>
#include <Qsci/qscilexerdiff.h>
#include <Qsci/qsciscintilla.h>

namespace Vandra {

namespace {

// The marks of a unified diff, which the diff colouring goes by.
QChar markOf(DiffLine::Type type) {
    switch (type) {
    case DiffLine::Type::removed:
        return u'-';
    case DiffLine::Type::added:
        return u'+';
    case DiffLine::Type::same:
        break;
    }
    return u' ';
}

// Lines shown around the first change when it comes into sight.
constexpr int contextLines = 3;

// Red and green that keep their contrast on the theme's paper.
QColor removedColour(bool isDark) {
    return isDark ? QColor(0xff, 0x7b, 0x72) : QColor(0xb3, 0x1d, 0x28);
}

QColor addedColour(bool isDark) {
    return isDark ? QColor(0x7e, 0xe7, 0x87) : QColor(0x1a, 0x7f, 0x37);
}

} // namespace

ChangesView::ChangesView(const CodeTheme &theme, QWidget *parent)
    : QWidget(parent)
    , m_theme(theme)
    , m_keysLabel(named(new QLabel(this), QStringLiteral("changedKeysLabel"), tr("Changed keys")))
    , m_diffText(named(new QsciScintilla(this), QStringLiteral("diffText"), tr("Changes")))
    , m_lexer(new QsciLexerDiff(this)) {
    setObjectName(QStringLiteral("changesView"));
    m_keysLabel->setWordWrap(true);
    m_keysLabel->setTextFormat(Qt::PlainText);
    m_keysLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_lexer->setDefaultFont(fixed);
    m_lexer->setFont(fixed);
    m_diffText->setUtf8(true);
    m_diffText->setReadOnly(true);
    m_diffText->setFrameShape(QFrame::NoFrame);
    m_diffText->setWrapMode(QsciScintilla::WrapNone);
    m_diffText->setTabWidth(int(Defaults::shared().integerValue(UserDefaultsKeys::editorTabWidth)));
    m_diffText->setMarginWidth(0, 0);
    m_diffText->setMarginWidth(1, 0);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_keysLabel);
    layout->addWidget(m_diffText, 1);
    connect(&m_theme, &CodeTheme::changed, this, &ChangesView::applyTheme);
    applyTheme();
}

void ChangesView::showDiff(const JobDiff &diff) {
    m_keysLabel->setText(diff.summary());
    QString text;
    int firstChange = -1;
    for (int index = 0; index < diff.lines().size(); ++index) {
        const DiffLine &line = diff.lines().at(index);
        if (firstChange < 0 && line.type != DiffLine::Type::same)
            firstChange = index;
        text += markOf(line.type) + line.text + u'\n';
    }
    if (text == m_diffText->text())
        return;
    const int top = m_diffText->verticalScrollBar()->value();
    m_diffText->setText(text);
    m_diffText->verticalScrollBar()->setValue(top);
    // The first change is in sight, with a few lines of context around it.
    if (firstChange >= 0) {
        m_diffText->ensureLineVisible(firstChange + contextLines);
        m_diffText->ensureLineVisible(qMax(0, firstChange - contextLines));
    }
}

void ChangesView::clear() {
    m_keysLabel->clear();
    m_diffText->clear();
}

void ChangesView::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_theme.chosen() < 0)
        applyTheme();
}

void ChangesView::applyTheme() {
    const CodeTheme::Colours &set = m_theme.colours(palette());
    m_lexer->setDefaultPaper(set.paper);
    m_lexer->setPaper(set.paper);
    m_lexer->setDefaultColor(set.text);
    m_lexer->setColor(set.text);
    m_lexer->setColor(set.comment, QsciLexerDiff::Comment);
    m_lexer->setColor(set.declaration, QsciLexerDiff::Header);
    m_lexer->setColor(set.declaration, QsciLexerDiff::Position);
    m_lexer->setColor(removedColour(set.isDark), QsciLexerDiff::LineRemoved);
    m_lexer->setColor(addedColour(set.isDark), QsciLexerDiff::LineAdded);
    // Setting the lexer again hands its colours to the view.
    m_diffText->setLexer(m_lexer);
    m_diffText->setCaretForegroundColor(set.text);
    m_diffText->setSelectionBackgroundColor(set.selection);
    m_diffText->setSelectionForegroundColor(set.selectionText);
    m_diffText->setMarginWidth(0, 0);
    m_diffText->setMarginWidth(1, 0);
}

} // namespace Vandra

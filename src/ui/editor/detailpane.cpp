#include "ui/editor/detailpane.h"

#include "support/defaults.h"
#include "support/localize.h"
#include "support/text.h"
#include "support/userdefaultskeys.h"
#include "ui/common/icons.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <Qsci/qscilexerxml.h>
#include <Qsci/qsciscintilla.h>

namespace {

struct XmlColours {
    QColor text, tag, attribute, string, comment, entity, declaration, data;
};

const XmlColours lightColours = {QColor(0x1f, 0x23, 0x28), QColor(0x05, 0x50, 0xae),
                                 QColor(0x82, 0x50, 0xdf), QColor(0x0a, 0x30, 0x69),
                                 QColor(0x6e, 0x77, 0x81), QColor(0x95, 0x38, 0x00),
                                 QColor(0xcf, 0x22, 0x2e), QColor(0x11, 0x63, 0x29)};
const XmlColours darkColours = {QColor(0xe6, 0xed, 0xf3), QColor(0x79, 0xc0, 0xff),
                                QColor(0xd2, 0xa8, 0xff), QColor(0xa5, 0xd6, 0xff),
                                QColor(0x8b, 0x94, 0x9e), QColor(0xff, 0xa6, 0x57),
                                QColor(0xff, 0x7b, 0x72), QColor(0x7e, 0xe7, 0x87)};

QLabel *fieldLabel(const QString &name, QWidget *parent) {
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

} // namespace

DetailPane::DetailPane(QWidget *parent)
    : QWidget(parent)
    , m_pages(new QStackedWidget(this))
    , m_placeholder(new QLabel(Localize::text("No Selection"), this))
    , m_kindIcon(new QLabel(this))
    , m_kindLabel(fieldLabel(QStringLiteral("kindLabel"), this))
    , m_nameLabel(fieldLabel(QStringLiteral("nameLabel"), this))
    , m_runLabel(fieldLabel(QStringLiteral("runLabel"), this))
    , m_pathLabel(fieldLabel(QStringLiteral("pathLabel"), this))
    , m_fileText(new QsciScintilla(this))
    , m_lexer(new QsciLexerXML(m_fileText)) {
    setObjectName(QStringLiteral("detailPane"));
    m_pages->setObjectName(QStringLiteral("detailPages"));
    m_placeholder->setObjectName(QStringLiteral("noSelectionLabel"));
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setForegroundRole(QPalette::PlaceholderText);
    m_kindIcon->setObjectName(QStringLiteral("kindIcon"));
    m_fileText->setObjectName(QStringLiteral("fileText"));

    QFont nameFont = m_nameLabel->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.3);
    nameFont.setBold(true);
    m_nameLabel->setFont(nameFont);
    m_runLabel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_pathLabel->setForegroundRole(QPalette::PlaceholderText);

    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_lexer->setDefaultFont(fixed);
    m_lexer->setFont(fixed);
    m_fileText->setLexer(m_lexer);
    m_fileText->setReadOnly(true);
    m_fileText->setUtf8(true);
    m_fileText->setMarginType(0, QsciScintilla::NumberMargin);
    m_fileText->setMarginLineNumbers(0, true);
    m_fileText->setMarginWidth(0, QStringLiteral("0000"));
    m_fileText->setFrameShape(QFrame::NoFrame);
    m_fileText->setWrapMode(QsciScintilla::WrapNone);
    m_fileText->setTabWidth(int(Defaults::shared().integerValue(UserDefaultsKeys::editorTabWidth)));

    auto *details = new QWidget(m_pages);
    auto *kindRow = new QHBoxLayout;
    kindRow->setContentsMargins(0, 0, 0, 0);
    kindRow->addWidget(m_kindIcon);
    kindRow->addWidget(m_kindLabel, 1);
    auto *form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(Localize::run(), m_runLabel);
    auto *layout = new QVBoxLayout(details);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(kindRow);
    layout->addWidget(m_nameLabel);
    layout->addLayout(form);
    layout->addWidget(m_pathLabel);
    layout->addWidget(m_fileText, 1);

    m_pages->addWidget(m_placeholder);
    m_pages->addWidget(details);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_pages);

    applyColours();
    showJob({});
}

void DetailPane::showJob(const JobPtr &job) {
    m_job = job;
    if (!job) {
        m_pages->setCurrentWidget(m_placeholder);
        m_fileText->clear();
        return;
    }
    m_pages->setCurrentIndex(1);
    const QIcon kindIcon = job->kind ? Icons::kind(*job->kind) : QIcon();
    m_kindIcon->setPixmap(kindIcon.pixmap(QSize(16, 16)));
    m_kindLabel->setText(job->kind ? Kinds::title(*job->kind) : QString());
    m_nameLabel->setText(job->label);
    m_runLabel->setText(job->run());
    m_pathLabel->setText(job->url ? Text::shortenHomeFolder(*job->url) : QString());
    m_pathLabel->setVisible(job->url.has_value());
    // The property list as read; other items have no file text to show.
    m_fileText->setText(job->plist ? job->textContent.value_or(QString()) : QString());
    m_fileText->setVisible(job->plist.has_value());
}

void DetailPane::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        applyColours();
}

void DetailPane::applyColours() {
    const QPalette colours = palette();
    const bool isDark = colours.color(QPalette::Base).lightness() < 128;
    const XmlColours &set = isDark ? darkColours : lightColours;
    m_lexer->setDefaultPaper(colours.color(QPalette::Base));
    m_lexer->setPaper(colours.color(QPalette::Base));
    m_lexer->setDefaultColor(set.text);
    m_lexer->setColor(set.text);
    m_lexer->setColor(set.tag, QsciLexerHTML::Tag);
    m_lexer->setColor(set.tag, QsciLexerHTML::UnknownTag);
    m_lexer->setColor(set.tag, QsciLexerHTML::XMLTagEnd);
    m_lexer->setColor(set.attribute, QsciLexerHTML::Attribute);
    m_lexer->setColor(set.attribute, QsciLexerHTML::UnknownAttribute);
    m_lexer->setColor(set.string, QsciLexerHTML::HTMLDoubleQuotedString);
    m_lexer->setColor(set.string, QsciLexerHTML::HTMLSingleQuotedString);
    m_lexer->setColor(set.comment, QsciLexerHTML::HTMLComment);
    m_lexer->setColor(set.entity, QsciLexerHTML::Entity);
    m_lexer->setColor(set.declaration, QsciLexerHTML::XMLStart);
    m_lexer->setColor(set.declaration, QsciLexerHTML::XMLEnd);
    m_lexer->setColor(set.declaration, QsciLexerHTML::SGMLDefault);
    m_lexer->setColor(set.data, QsciLexerHTML::CDATA);
    // Setting the lexer again hands its colours to the editor and resets the margins.
    m_fileText->setLexer(m_lexer);
    m_fileText->setCaretForegroundColor(set.text);
    m_fileText->setMarginsBackgroundColor(colours.color(QPalette::Window));
    m_fileText->setMarginsForegroundColor(colours.color(QPalette::PlaceholderText));
    m_fileText->setSelectionBackgroundColor(colours.color(QPalette::Highlight));
    m_fileText->setSelectionForegroundColor(colours.color(QPalette::HighlightedText));
}

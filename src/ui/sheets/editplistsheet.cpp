#include "ui/sheets/editplistsheet.h"

#include "model/joblist.h"
#include "platform/plistcodec.h"
#include "support/localize.h"
#include "ui/common/codeview.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace Vandra {

EditPlistSheet::EditPlistSheet(const CodeTheme &theme, QWidget *parent)
    : SheetDialog(QStringLiteral("editPlistSheet"), Localize::editPlist(), parent)
    , m_title(new QLabel(this))
    , m_textView(new CodeView(theme, this))
    , m_errorLabel(new QLabel(this))
    , m_cancelButton(button(QStringLiteral("cancelButton"), Localize::cancel()))
    , m_changeButton(button(QStringLiteral("changeButton"), Localize::change())) {
    rememberFrame(QStringLiteral("EditPlistSheet"));
    const JobPtr &job = JobList::shared().currentJob();
    const QString title = jobTitle(Localize::editPlist(), job);
    m_title->setText(title);
    setWindowTitle(title);
    name(m_title, QStringLiteral("editPlistTitle"), title);
    name(m_textView, QStringLiteral("plistText"), tr("Property list text"));
    m_textView->setEditable(true);
    m_textView->setFrameShape(QFrame::StyledPanel);
    name(m_errorLabel, QStringLiteral("errorLabel"), tr("Error"));
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_errorLabel->setForegroundRole(QPalette::BrightText);
    m_errorLabel->hide();
    m_changeButton->setEnabled(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_changeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_textView, 1);
    layout->addWidget(m_errorLabel);
    layout->addLayout(buttons);
    resize(640, 520);

    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_changeButton, &QPushButton::clicked, this, &EditPlistSheet::change);
    connect(m_textView, &QsciScintilla::textChanged, this, &EditPlistSheet::textEdited);

    m_isLoading = true;
    if (const std::optional<QString> text = m_editor.load())
        m_textView->setText(*text);
    m_isLoading = false;
    m_textView->setCursorPosition(0, 0);
    m_textView->setFocus();
}

namespace {

// A reader's message format as a pattern that finds the numbers in a message written from it.
// group names what each placeholder stands for (%1 first); the formats are the translated
// ones, so the numbers are found in every language and whatever order it puts them in.
QRegularExpressionMatch matchFormat(const char *format, const QStringList &groups,
                                    const QString &message) {
    static const QRegularExpression placeholder(QStringLiteral("%(\\d)"));
    const QString translated = QCoreApplication::translate("PlistCodec", format);
    QString pattern = QStringLiteral("^");
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = placeholder.globalMatch(translated); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        pattern += QRegularExpression::escape(translated.mid(from, match.capturedStart() - from));
        const QString group = groups.value(match.captured(1).toInt() - 1);
        pattern +=
            group.isEmpty() ? QStringLiteral(".*") : QStringLiteral("(?<%1>\\d+)").arg(group);
        from = match.capturedEnd();
    }
    pattern += QRegularExpression::escape(translated.mid(from));
    return QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption)
        .match(message);
}

} // namespace

std::optional<EditPlistSheet::Position> EditPlistSheet::errorPosition(const QString &message) {
    const QString line = QStringLiteral("line");
    const QString column = QStringLiteral("column");
    QRegularExpressionMatch match = matchFormat(
        QT_TRANSLATE_NOOP("PlistCodec", "Line %1, column %2: %3."), {line, column}, message);
    if (!match.hasMatch())
        match = matchFormat(QT_TRANSLATE_NOOP("PlistCodec", "Line %1: %2."), {line}, message);
    if (!match.hasMatch())
        return std::nullopt;
    return Position{match.captured(line).toInt(), match.captured(column).toInt()};
}

void EditPlistSheet::textEdited() {
    if (m_isLoading)
        return;
    m_changeButton->setEnabled(true);
    m_errorLabel->hide();
    m_cancelButton->setText(Localize::discardChanges());
    m_cancelButton->setAccessibleName(Localize::discardChanges());
}

void EditPlistSheet::change() {
    const QString text = m_textView->text();
    switch (m_editor.change(text)) {
    case RawPlistEditor::Result::changed:
        Q_EMIT jobChanged();
        accept();
        return;
    case RawPlistEditor::Result::dismissed:
        reject();
        return;
    case RawPlistEditor::Result::refused:
        explainRefusal(text);
        return;
    }
}

void EditPlistSheet::explainRefusal(const QString &text) {
    const PlistReadResult read = PlistCodec::read(text.toUtf8());
    QString message;
    if (!read.ok()) {
        message = read.error;
        if (const std::optional<Position> at = errorPosition(read.error))
            m_textView->moveCaretTo(at->line, qMax(1, at->column));
    } else if (!read.value->dict()) {
        message = tr("The text holds a property list, but its top level is not a dictionary, "
                     "so it is not a job.");
    } else {
        message = tr("The dictionary is not a job: it needs a “Label” text that is not one of "
                     "the program’s own helpers.");
    }
    m_errorLabel->setText(message);
    m_errorLabel->setAccessibleDescription(message);
    m_errorLabel->show();
    m_textView->setFocus();
}

} // namespace Vandra

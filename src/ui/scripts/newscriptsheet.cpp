#include "ui/scripts/newscriptsheet.h"

#include "store/newscript.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "ui/scripts/scriptcolouring.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <Qsci/qsciscintilla.h>

namespace Vandra {

NewScriptSheet::NewScriptSheet(JobEditor &editor, const ScriptTheme &theme, QWidget *parent)
    : QDialog(parent)
    , m_editor(editor)
    , m_theme(theme)
    , m_nameField(new QLineEdit(Localize::newScript(), this))
    , m_scriptEditor(new QsciScintilla(this)) {
    setObjectName(QStringLiteral("newScriptSheet"));
    setWindowTitle(Localize::newScript());
    setWindowModality(Qt::WindowModal);
    m_nameField->setObjectName(QStringLiteral("scriptNameField"));
    m_nameField->setAccessibleName(Localize::name());
    m_scriptEditor->setObjectName(QStringLiteral("newScriptEditor"));
    m_scriptEditor->setAccessibleName(tr("Script"));
    m_scriptEditor->setUtf8(true);
    m_scriptEditor->setMarginType(0, QsciScintilla::NumberMargin);
    m_scriptEditor->setMarginLineNumbers(0, true);
    m_scriptEditor->setMarginWidth(0, QStringLiteral("999"));

    auto *buttons = new QDialogButtonBox(this);
    m_saveButton = buttons->addButton(Localize::Ellipsis::save(), QDialogButtonBox::AcceptRole);
    m_saveButton->setObjectName(QStringLiteral("saveScriptButton"));
    m_saveButton->setDefault(true);
    m_cancelButton = buttons->addButton(Localize::cancel(), QDialogButtonBox::RejectRole);
    m_cancelButton->setObjectName(QStringLiteral("cancelScriptButton"));
    connect(m_saveButton, &QPushButton::clicked, this, &NewScriptSheet::saveScript);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(Localize::name(), m_nameField);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_scriptEditor, 1);
    layout->addWidget(buttons);

    m_syntaxType = NewScript::syntaxOf(NewScript::initialText());
    ScriptColouring::setSyntax(*m_scriptEditor, m_syntaxType, m_theme);
    m_scriptEditor->setText(NewScript::initialText());
    const int lastLine = m_scriptEditor->lines() - 1;
    m_scriptEditor->setCursorPosition(lastLine, m_scriptEditor->lineLength(lastLine));
    m_scriptEditor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    connect(m_scriptEditor, &QsciScintilla::textChanged, this, &NewScriptSheet::detectSyntax);

    resize(560, 420);
    restoreGeometry(Defaults::shared().value(frameKey).toByteArray());
    m_scriptEditor->setFocus();
}

NewScriptSheet::~NewScriptSheet() = default;

void NewScriptSheet::detectSyntax() {
    const SyntaxType syntax = NewScript::syntaxOf(m_scriptEditor->text(0));
    if (syntax == m_syntaxType)
        return;
    m_syntaxType = syntax;
    ScriptColouring::setSyntax(*m_scriptEditor, syntax, m_theme);
}

void NewScriptSheet::applyTheme(const ScriptTheme &theme) {
    m_theme = theme;
    ScriptColouring::apply(*m_scriptEditor, theme);
}

void NewScriptSheet::saveScript() {
    m_job = NewScript::saveScript(m_editor, m_scriptEditor->text(), m_nameField->text());
    if (m_job)
        accept();
}

void NewScriptSheet::done(int result) {
    Defaults::shared().setValue(frameKey, saveGeometry());
    QDialog::done(result);
}

} // namespace Vandra

#include "ui/scripts/scriptwindow.h"

#include "support/interaction.h"
#include "support/localize.h"
#include "ui/scripts/scriptcolouring.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QTimer>
#include <Qsci/qsciscintilla.h>

#include <algorithm>
#include <functional>

namespace Vandra {

ScriptWindow::ScriptWindow(const QString &path, const ScriptText &script, const ScriptTheme &theme,
                           QWidget *parent)
    : QMainWindow(parent)
    , m_path(path)
    , m_encoding(script.encoding)
    , m_theme(theme)
    , m_recovery(path)
    , m_editor(new QsciScintilla(this))
    , m_autosaveTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("scriptWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Only the main window ends the program when it closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_editor->setObjectName(QStringLiteral("scriptEditor"));
    m_editor->setAccessibleName(tr("Script"));
    m_editor->setUtf8(true);
    m_editor->setMarginType(0, QsciScintilla::NumberMargin);
    m_editor->setMarginLineNumbers(0, true);
    m_editor->setFolding(QsciScintilla::NoFoldStyle);
    setCentralWidget(m_editor);
    m_autosaveTimer->setObjectName(QStringLiteral("autosaveTimer"));
    m_autosaveTimer->setSingleShot(true);
    m_autosaveTimer->setInterval(autosaveDelay);
    connect(m_autosaveTimer, &QTimer::timeout, this, &ScriptWindow::autosave);
    buildMenu();
    m_syntax = ScriptSyntax::detect(script.text.section(u'\n', 0, 0), path);
    ScriptColouring::setSyntax(*m_editor, m_syntax, m_theme);
    setText(script.text);
    connect(m_editor, &QsciScintilla::textChanged, this, &ScriptWindow::textChanged);
    connect(m_editor, &QsciScintilla::linesChanged, this, &ScriptWindow::updateLineNumberWidth);
    connect(m_editor, &QsciScintilla::modificationChanged, this, &QWidget::setWindowModified);
    resize(720, 540);
}

ScriptWindow::~ScriptWindow() = default;

void ScriptWindow::buildMenu() {
    QMenu *file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("scriptFileMenu"));
    const auto add = [&](const QString &name, const QString &text, const QKeySequence &keys,
                         const std::function<void()> &work) {
        QAction *action = file->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, work);
    };
    add(QStringLiteral("saveAction"), tr("&Save"), QKeySequence::Save, [this] { save(); });
    add(QStringLiteral("saveAsAction"), tr("Save &As…"), QKeySequence::SaveAs,
        [this] { saveAs(); });
    add(QStringLiteral("revertAction"), tr("&Revert to Saved"), QKeySequence(),
        [this] { revert(); });
    file->addSeparator();
    add(QStringLiteral("closeAction"), tr("&Close"), QKeySequence::Close, [this] { close(); });
}

void ScriptWindow::setText(const QString &text) {
    m_editor->setText(text);
    // Loading is not an edit: the cursor starts at the top and nothing can be undone.
    m_editor->setCursorPosition(0, 0);
    m_editor->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
    m_editor->setModified(false);
    setWindowModified(false);
    m_autosaveTimer->stop();
    detectSyntax();
    updateLineNumberWidth();
    updateTitle();
}

void ScriptWindow::textChanged() {
    detectSyntax();
    if (m_editor->isModified())
        m_autosaveTimer->start();
}

void ScriptWindow::detectSyntax() {
    const SyntaxType syntax = ScriptSyntax::detect(m_editor->text(0), m_path);
    if (syntax == m_syntax)
        return;
    // Only a change of language recolours the whole text.
    m_syntax = syntax;
    ScriptColouring::setSyntax(*m_editor, syntax, m_theme);
}

void ScriptWindow::updateLineNumberWidth() {
    const int digits = int(QString::number(std::max(1, m_editor->lines())).size());
    if (digits == m_lineNumberDigits)
        return;
    m_lineNumberDigits = digits;
    // One digit more than needed leaves room on both sides of the numbers.
    m_editor->setMarginWidth(0, QString(digits + 1, u'9'));
}

void ScriptWindow::updateTitle() {
    setWindowTitle(QFileInfo(m_path).fileName() + QStringLiteral("[*]"));
    setWindowFilePath(m_path);
}

bool ScriptWindow::isModified() const {
    return m_editor->isModified();
}

bool ScriptWindow::save() {
    return saveTo(m_path);
}

bool ScriptWindow::saveAs() {
    FilePanelRequest request;
    request.title = tr("Save As");
    request.directory = QFileInfo(m_path).path();
    request.proposedName = QFileInfo(m_path).fileName();
    const std::optional<QString> path = Interaction::shared().savePanel(request);
    return path && saveTo(*path);
}

bool ScriptWindow::saveTo(const QString &path) {
    if (const std::optional<ScriptFileError> error =
            ScriptFile::write(path, m_editor->text(), m_encoding)) {
        Interaction::error(error->message, error->informativeText);
        return false;
    }
    m_autosaveTimer->stop();
    m_recovery.remove();
    m_editor->setModified(false);
    if (path != m_path) {
        m_path = path;
        m_recovery = ScriptRecovery(path);
        updateTitle();
        detectSyntax();
        Q_EMIT pathChanged(path);
    }
    return true;
}

void ScriptWindow::revert() {
    if (!isModified())
        return;
    AlertRequest request;
    request.message =
        tr("Do you want to revert to the saved version of “%1”?").arg(QFileInfo(m_path).fileName());
    request.informativeText = tr("Your current changes will be lost.");
    request.buttons = {tr("Revert"), Localize::cancel()};
    if (Interaction::shared().alert(request) == Interaction::firstButton)
        reload();
}

bool ScriptWindow::reload() {
    const ScriptFile::ReadResult read = ScriptFile::read(m_path);
    if (!read.script) {
        Interaction::error(read.error.message, read.error.informativeText);
        return false;
    }
    m_autosaveTimer->stop();
    m_recovery.remove();
    m_encoding = read.script->encoding;
    setText(read.script->text);
    return true;
}

bool ScriptWindow::autosave() {
    m_autosaveTimer->stop();
    return isModified() && m_recovery.write(m_editor->text());
}

void ScriptWindow::restore(const QString &text) {
    m_editor->selectAll();
    m_editor->replaceSelectedText(text);
    m_editor->setCursorPosition(0, 0);
}

void ScriptWindow::applyTheme(const ScriptTheme &theme) {
    m_theme = theme;
    ScriptColouring::apply(*m_editor, theme);
}

void ScriptWindow::closeEvent(QCloseEvent *event) {
    if (!isModified()) {
        m_recovery.remove();
        event->accept();
        return;
    }
    AlertRequest request;
    request.message = tr("Do you want to save the changes made to the document “%1”?")
                          .arg(QFileInfo(m_path).fileName());
    request.informativeText = tr("Your changes will be lost if you don’t save them.");
    request.buttons = {tr("Save"), tr("Don’t Save"), Localize::cancel()};
    switch (Interaction::shared().alert(request)) {
    case 0:
        if (save())
            event->accept();
        else
            event->ignore();
        return;
    case 1:
        m_autosaveTimer->stop();
        m_recovery.remove();
        event->accept();
        return;
    default:
        event->ignore();
    }
}

} // namespace Vandra

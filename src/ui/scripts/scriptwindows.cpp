#include "ui/scripts/scriptwindows.h"

#include "store/scriptfile.h"
#include "support/interaction.h"
#include "ui/scripts/scriptwindow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <Qsci/qsciscintilla.h>

namespace Vandra {

namespace {

// Where the cascade starts and how far each window steps from the one before.
constexpr QPoint cascadeStart(64, 64);
constexpr QPoint cascadeStep(24, 24);
constexpr int cascadeRoom = 160;

// The same file however it is named.
QString identity(const QString &path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

ScriptWindows::ScriptWindows(const ScriptTheme &theme, QObject *parent)
    : QObject(parent)
    , m_theme(theme)
    , m_nextPosition(cascadeStart) {}

ScriptWindows::~ScriptWindows() {
    for (const QPointer<ScriptWindow> &window : std::as_const(m_windows))
        delete window.data();
}

QList<ScriptWindow *> ScriptWindows::windows() const {
    QList<ScriptWindow *> result;
    for (const QPointer<ScriptWindow> &window : m_windows) {
        if (window)
            result.append(window);
    }
    return result;
}

ScriptWindow *ScriptWindows::windowFor(const QString &path) const {
    const QString wanted = identity(path);
    for (ScriptWindow *window : windows()) {
        if (identity(window->path()) == wanted)
            return window;
    }
    return nullptr;
}

ScriptWindow *ScriptWindows::open(const QString &path) {
    if (ScriptWindow *window = windowFor(path)) {
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    const ScriptFile::ReadResult read = ScriptFile::read(path);
    if (!read.script) {
        Interaction::error(read.error.message, read.error.informativeText);
        return nullptr;
    }
    auto *window = new ScriptWindow(QFileInfo(path).absoluteFilePath(), *read.script, m_theme);
    m_windows.removeAll(nullptr);
    m_windows.append(window);
    place(window);
    window->show();
    window->raise();
    window->activateWindow();
    offerRecovery(window);
    return window;
}

QList<ScriptWindow *> ScriptWindows::open(const QStringList &paths) {
    QList<ScriptWindow *> opened;
    for (const QString &path : paths) {
        if (ScriptWindow *window = open(path))
            opened.append(window);
    }
    return opened;
}

QFileDialog *ScriptWindows::editScript(QWidget *parent) {
    auto *dialog = new QFileDialog(parent, tr("Edit Script"));
    dialog->setObjectName(QStringLiteral("editScriptPanel"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFilter(QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot);
    connect(dialog, &QFileDialog::filesSelected, this,
            [this](const QStringList &paths) { open(paths); });
    dialog->open();
    return dialog;
}

void ScriptWindows::place(ScriptWindow *window) {
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    // Back to the start once a title bar would come near the screen's far edges.
    if (available.isValid() &&
        !available.adjusted(0, 0, -cascadeRoom, -cascadeRoom).contains(m_nextPosition))
        m_nextPosition = available.topLeft() + cascadeStart;
    window->move(m_nextPosition);
    m_nextPosition += cascadeStep;
}

void ScriptWindows::offerRecovery(ScriptWindow *window) {
    const std::optional<QString> kept = window->recovery().read();
    if (!kept)
        return;
    if (*kept == window->editor().text()) {
        window->recovery().remove();
        return;
    }
    AlertRequest request;
    request.message = tr("“%1” has unsaved changes from an earlier session.")
                          .arg(QFileInfo(window->path()).fileName());
    request.informativeText = tr("Restore them to keep editing where you left off, or discard "
                                 "them to edit the saved file.");
    request.buttons = {tr("Restore"), tr("Discard")};
    if (Interaction::shared().alert(request) == Interaction::firstButton)
        window->restore(*kept);
    else
        window->recovery().remove();
}

void ScriptWindows::applyTheme(const ScriptTheme &theme) {
    m_theme = theme;
    for (ScriptWindow *window : windows())
        window->applyTheme(theme);
}

bool ScriptWindows::closeAll() {
    for (ScriptWindow *window : windows()) {
        if (!window->close())
            return false;
    }
    return true;
}

} // namespace Vandra

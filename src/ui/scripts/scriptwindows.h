#pragma once

#include "ui/scripts/scripttheme.h"

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace Vandra {

class ScriptWindow;

// The open script windows: one per file, placed in a cascade, all in the same colours.
class ScriptWindows final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptWindows)

public:
    explicit ScriptWindows(const ScriptTheme &theme, QObject *parent = nullptr);
    ~ScriptWindows() override;

    // The window of path, brought to the front when it is open already. None, after telling
    // the user why, when the file cannot be read. Unsaved text of an earlier session that
    // autosave kept is offered back.
    ScriptWindow *open(const QString &path);
    QList<ScriptWindow *> open(const QStringList &paths);
    // Edit Script: a panel for choosing several script files, each opened when chosen. The
    // panel does not block; it deletes itself when done.
    QFileDialog *editScript(QWidget *parent);

    [[nodiscard]] QList<ScriptWindow *> windows() const;
    [[nodiscard]] ScriptWindow *windowFor(const QString &path) const;

    // Recolours every open window, and the ones opened later.
    void applyTheme(const ScriptTheme &theme);
    [[nodiscard]] const ScriptTheme &theme() const { return m_theme; }

    // Closes every window, asking about unsaved edits; false when the user kept one open
    // (the program should then not quit).
    bool closeAll();

private:
    void place(ScriptWindow *window);
    void offerRecovery(ScriptWindow *window);

    ScriptTheme m_theme;
    QList<QPointer<ScriptWindow>> m_windows;
    QPoint m_nextPosition;
};

} // namespace Vandra

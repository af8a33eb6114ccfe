#include "ui/scripts/scriptscreenshots.h"

#include "actions/actioncontroller.h"
#include "store/jobeditor.h"
#include "store/newscript.h"
#include "store/revisioncontroller.h"
#include "store/scriptfile.h"
#include "ui/scripts/newscriptsheet.h"
#include "ui/scripts/scriptwindow.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <Qsci/qsciscintilla.h>

namespace Vandra {

namespace {

// clang-format off
const char *const sampleScript = R"script(#!/bin/bash
# Copies the day's documents to the backup disk and keeps a week of logs.
set -euo pipefail

source="$HOME/Documents"
target="/media/backup/$(date +%A)"
log="$HOME/.local/state/backup.log"

if [[ ! -d "$target" ]]; then
    mkdir -p "$target"
fi

rsync -a --delete "$source/" "$target/" >>"$log" 2>&1
find "$HOME/.local/state" -name 'backup*.log' -mtime +7 -delete
echo "Backup finished at $(date)" >>"$log"
)script";
// clang-format on

bool grab(QWidget &widget, const QString &file) {
    widget.show();
    QApplication::processEvents();
    return widget.grab().save(file);
}

} // namespace

bool ScriptScreenshots::write(const QString &folder) {
    QDir().mkpath(folder);
    const ScriptTheme theme = ScriptTheme::forPalette(QApplication::palette());
    const QString path = NewScript::scriptsFolder() + QStringLiteral("/backup.sh");
    ScriptWindow window(path, ScriptText{QString::fromUtf8(sampleScript), TextEncoding::utf8()},
                        theme);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.resize(720, 480);
    const bool wroteScript = grab(window, folder + QStringLiteral("/script.png"));
    window.hide();

    // The sheet only needs an editor when saving, which a picture never does.
    ActionController controller{ActionController::Setup{}};
    RevisionController revisions;
    JobEditor editor(controller, revisions);
    NewScriptSheet sheet(editor, theme);
    sheet.resize(560, 360);
    sheet.scriptEditor().append(QStringLiteral("echo \"Hello from $(hostname)\"\n"));
    const bool wroteSheet = grab(sheet, folder + QStringLiteral("/newscript.png"));
    sheet.hide();
    return wroteScript && wroteSheet;
}

} // namespace Vandra

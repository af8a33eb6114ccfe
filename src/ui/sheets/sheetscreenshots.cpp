#include "ui/sheets/sheetscreenshots.h"

#include "model/joblist.h"
#include "ui/common/windowservices.h"
#include "ui/sheets/editplistsheet.h"
#include "ui/sheets/folderssheet.h"
#include "ui/sheets/logsheet.h"
#include "ui/sheets/notessheet.h"
#include "ui/sheets/revisionsmenu.h"

#include <QDir>
#include <QMenu>
#include <QPixmap>
#include <QTimer>

#include <memory>

namespace Vandra {

namespace {

// The log query is answered by a helper; a picture is taken at the latest after this long.
constexpr int logBoundMilliseconds = 15000;

void grab(QWidget *widget, const QString &folder, const QString &file) {
    widget->show();
    widget->grab().save(QDir(folder).filePath(file));
    widget->close();
}

} // namespace

namespace SheetScreenshots {

void write(const QString &folder, QWidget *window, const WindowServices &services,
           JobEditor *editor, const std::function<void()> &finished) {
    QDir().mkpath(folder);
    const JobPtr job = JobList::shared().currentJob();
    {
        EditPlistSheet sheet(services.codeTheme, window);
        grab(&sheet, folder, QStringLiteral("plist.png"));
    }
    {
        NotesSheet sheet(job, services.notes, window);
        grab(&sheet, folder, QStringLiteral("notes.png"));
    }
    {
        FoldersSheet sheet(services.folders, window);
        grab(&sheet, folder, QStringLiteral("folders.png"));
    }
    {
        QMenu menu(QObject::tr("Revisions"), window);
        RevisionsMenu revisions(&menu, services.revisions);
        menu.ensurePolished();
        menu.adjustSize();
        menu.grab().save(QDir(folder).filePath(QStringLiteral("revisions.png")));
    }

    auto *sheet = new LogSheet(job, services.actions, editor, window);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    auto *bound = new QTimer(sheet);
    bound->setSingleShot(true);
    auto isTaken = std::make_shared<bool>(false);
    const auto take = [sheet, folder, finished, isTaken] {
        // Closing cancels a running query, which comes back here.
        if (*isTaken)
            return;
        *isTaken = true;
        sheet->grab().save(QDir(folder).filePath(QStringLiteral("log.png")));
        sheet->close();
        if (finished)
            finished();
    };
    QObject::connect(&sheet->session(), &LogSession::stateChanged, sheet,
                     [take](LogSession::State state) {
                         if (state == LogSession::State::rest)
                             take();
                     });
    QObject::connect(bound, &QTimer::timeout, sheet, take);
    sheet->show();
    if (sheet->session().state() == LogSession::State::rest)
        QTimer::singleShot(0, sheet, take);
    else
        bound->start(logBoundMilliseconds);
}

} // namespace SheetScreenshots

} // namespace Vandra

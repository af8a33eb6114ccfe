#include "ui/window/commandscreenshots.h"

#include "model/joblist.h"
#include "ui/window/jobcommands.h"
#include "ui/window/mainwindow.h"

#include <QDir>
#include <QMenu>

#include <memory>

namespace Vandra {

namespace {

bool grab(QMenu &menu, const QPoint &at, const QString &file) {
    menu.popup(at);
    const bool isSaved = menu.grab().save(file);
    menu.hide();
    return isSaved;
}

} // namespace

namespace CommandScreenshots {

bool write(const QString &folder, MainWindow &window) {
    QDir().mkpath(folder);
    const QList<JobPtr> &jobs = JobList::shared().jobs();
    if (!JobList::shared().currentJob() && !jobs.isEmpty())
        window.selectJob(jobs.first());
    const JobPtr job = JobList::shared().currentJob();
    const QPoint corner = window.mapToGlobal(QPoint(8, 8));

    bool isWritten =
        grab(*window.fileMenu(), corner, QDir(folder).filePath(QStringLiteral("filemenu.png")));
    if (job) {
        std::unique_ptr<QMenu> menu(window.commands()->jobMenu(job, window.mode(), &window));
        isWritten = grab(*menu, corner, QDir(folder).filePath(QStringLiteral("contextmenu.png"))) &&
                    isWritten;
    } else {
        isWritten = false;
    }
    return isWritten;
}

} // namespace CommandScreenshots

} // namespace Vandra

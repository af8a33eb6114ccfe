#include "ui/window/doctorscreenshots.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "store/jobdoctor.h"
#include "store/jobeditor.h"
#include "store/schedulerows.h"
#include "ui/editor/detaileditor.h"
#include "ui/editor/diagnosticspage.h"
#include "ui/editor/infoview.h"
#include "ui/window/mainwindow.h"

#include <QDir>
#include <QPixmap>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace Vandra {

namespace {

// How a job's findings rank for the picture: the graver the better, and a fix to show the
// Changes tab with matters most.
int rank(const Findings &findings) {
    const std::optional<Finding::Severity> worst = JobDoctor::worst(findings);
    if (!worst)
        return -1;
    const bool hasFix = std::any_of(findings.cbegin(), findings.cend(),
                                    [](const Finding &finding) { return finding.fix.has_value(); });
    return int(*worst) + (hasFix ? 10 : 0);
}

JobPtr jobToShow() {
    const JobDoctor doctor;
    JobPtr best;
    int bestRank = -1;
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (!job->plist)
            continue;
        Job copy = *job;
        const RuleRows rows = ScheduleRows::forJob(*job);
        const int jobRank = rank(doctor.examineJob(copy, &rows));
        if (jobRank > bestRank) {
            best = job;
            bestRank = jobRank;
        }
    }
    return best;
}

void grab(MainWindow &window, const QString &folder, const QString &file) {
    window.grab().save(QDir(folder).filePath(file));
}

} // namespace

namespace DoctorScreenshots {

bool write(const QString &folder, MainWindow &window) {
    const JobPtr job = jobToShow();
    if (!job)
        return false;
    QDir().mkpath(folder);
    window.selectJob(job);
    DetailEditor &editor = *window.detailEditor();
    editor.tabs()->setCurrentIndex(DetailEditor::diagnosticsPage);
    editor.info()->tabs()->setCurrentIndex(InfoView::fileTab);
    grab(window, folder, QStringLiteral("doctor.png"));

    DiagnosticsPage &diagnostics = *editor.diagnostics();
    const Findings &findings = diagnostics.findings();
    const auto fixable =
        std::find_if(findings.cbegin(), findings.cend(),
                     [](const Finding &finding) { return finding.fix.has_value(); });
    if (fixable != findings.cend())
        diagnostics.applyFix(fixable - findings.cbegin());
    editor.info()->tabs()->setCurrentIndex(InfoView::changesTab);
    grab(window, folder, QStringLiteral("changes.png"));

    editor.info()->tabs()->setCurrentIndex(InfoView::fileTab);
    editor.tabs()->setCurrentIndex(DetailEditor::formPage);
    if (Bindings::shared().isEdited())
        editor.discard();
    return true;
}

} // namespace DoctorScreenshots

} // namespace Vandra

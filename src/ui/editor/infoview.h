#pragma once

#include "actions/jobstatussource.h"
#include "model/job.h"

#include <QWidget>

class QLabel;
class QStackedWidget;
class QTabBar;

namespace Vandra {

class ChangesView;
class CodeTheme;
class CodeView;
class JobDiff;

// Beside the form: the job file as a save would write it, coloured, with its path, and on a
// second tab what the save would change in the stored file; for items without a job file
// (login items, startup items) their name, kind and path.
class InfoView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoView)

public:
    // The tabs of a job file's view.
    enum Tab { fileTab = 0, changesTab = 1 };

    // The status line follows source; none leaves it hidden.
    InfoView(const CodeTheme &theme, const JobStatusSource *source, QWidget *parent = nullptr);

    // Shows the current job; while it has edits, its file text with them applied and what a
    // save would change. diff: what a save of job would change, when it has a file.
    void showJob(const JobPtr &job, bool isEdited, const JobDiff *diff = nullptr);
    [[nodiscard]] CodeView *fileText() const { return m_fileText; }
    [[nodiscard]] ChangesView *changes() const { return m_changes; }
    [[nodiscard]] QTabBar *tabs() const { return m_tabs; }

    // The job as a save would write it now: a copy, with the Run text repaired as a save
    // repairs it, so that looking at it changes nothing of the job itself.
    [[nodiscard]] static Job asSaved(const Job &job);
    // The file text a save of job would write now, or none when it cannot be made.
    [[nodiscard]] static std::optional<QString> textAsSaved(const JobPtr &job);

private:
    void showStatus();

    const JobStatusSource *m_status;
    JobPtr m_job;
    QLabel *m_statusLabel;
    QStackedWidget *m_pages;
    QLabel *m_placeholder;
    QLabel *m_pathLabel;
    QTabBar *m_tabs;
    QStackedWidget *m_fileViews;
    CodeView *m_fileText;
    ChangesView *m_changes;
    QLabel *m_itemName;
    QLabel *m_itemKind;
    QLabel *m_itemPath;
};

} // namespace Vandra

#pragma once

#include "actions/jobstatussource.h"
#include "model/job.h"

#include <QWidget>

class CodeView;
class QLabel;
class QStackedWidget;

// Beside the form: the job file as a save would write it, coloured, with its path; for items
// without a job file (login items, startup items) their name, kind and path.
class InfoView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InfoView)

public:
    // The status line follows source; none leaves it hidden.
    explicit InfoView(QWidget *parent = nullptr,
                      const JobStatusSource *source = &JobStatusSource::shared());

    // Shows the current job; while it has edits, its file text with them applied.
    void showJob(const JobPtr &job, bool isEdited);
    [[nodiscard]] CodeView *fileText() const { return m_fileText; }

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
    CodeView *m_fileText;
    QLabel *m_itemName;
    QLabel *m_itemKind;
    QLabel *m_itemPath;
};

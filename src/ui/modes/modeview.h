#pragma once

#include "model/job.h"

#include <QPersistentModelIndex>
#include <QPoint>
#include <QWidget>

#include <optional>

class QAbstractItemView;

namespace Vandra {

// One page of the window's modes. It shows the job list it is given and lets the user pick
// a job; while the current job has unsaved edits it refuses to change its selection and asks
// once for the unsaved-changes warning, until a change is allowed again.
class ModeView : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ModeView)

public:
    explicit ModeView(QWidget *parent = nullptr);

    // Shows jobs, in their order.
    virtual void setJobs(const QList<JobPtr> &jobs) = 0;
    // Shows those of jobs that pass filterText (JobFilter), in their order. The modes that
    // keep every job of the list and filter it as the text changes override it.
    virtual void showJobs(const QList<JobPtr> &jobs, const QString &filterText);
    // Selects the row of job (by record, else by file) and scrolls to it; none clears.
    virtual void showCurrentJob(const JobPtr &job) = 0;
    [[nodiscard]] virtual QAbstractItemView *itemView() const = 0;

    [[nodiscard]] bool isWarningAboutUnsaved() const { return m_isWarningAboutUnsaved; }
    // The job a row or item stands for; none for headings.
    [[nodiscard]] virtual JobPtr jobAt(const QModelIndex &index) const;

Q_SIGNALS:
    // The user selected a job other than the current one.
    void jobSelected(const JobPtr &job);
    // The user tried to leave a job with unsaved edits.
    void unsavedChangesWarning();
    // The user asked for the context menu of job, at a point of the screen.
    void jobMenuRequested(const JobPtr &job, const QPoint &globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Offers the context menu and dragging on the item view; once it exists.
    void enableJobGestures();
    // The selection gate of the mode's view.
    [[nodiscard]] bool allowsSelectionChange();
    // The view's selection now shows job (or nothing).
    void selectionChangedTo(const JobPtr &job);
    // Selects an index without treating it as the user's choice.
    void selectQuietly(const QModelIndex &index);
    // Whether jobs (with or without the system jobs' sections) differ from what the view was
    // last given; the view then builds its rows again, else it keeps them.
    [[nodiscard]] bool isNewList(const QList<JobPtr> &jobs, bool showsSystemJobs);

private:
    bool m_isWarningAboutUnsaved = false;
    bool m_isSelectingQuietly = false;
    QPoint m_pressPosition;
    QPersistentModelIndex m_pressed;
    std::optional<QList<JobPtr>> m_shownJobs;
    bool m_showsSystemJobs = false;
};

} // namespace Vandra

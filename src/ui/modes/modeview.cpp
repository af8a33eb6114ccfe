#include "ui/modes/modeview.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "ui/modes/jobdrag.h"
#include "ui/modes/jobfilter.h"
#include "ui/modes/roles.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

namespace Vandra {

ModeView::ModeView(QWidget *parent)
    : QWidget(parent) {}

void ModeView::showJobs(const QList<JobPtr> &jobs, const QString &filterText) {
    setJobs(JobFilter::filter(jobs, filterText));
}

bool ModeView::isNewList(const QList<JobPtr> &jobs, bool showsSystemJobs) {
    // The same records in the same order give the same rows: reading a job's file again
    // makes a new record, and the rows read everything else from the record when drawn.
    if (m_shownJobs && *m_shownJobs == jobs && m_showsSystemJobs == showsSystemJobs)
        return false;
    m_shownJobs = jobs;
    m_showsSystemJobs = showsSystemJobs;
    return true;
}

bool ModeView::allowsSelectionChange() {
    if (!Bindings::shared().isEdited()) {
        m_isWarningAboutUnsaved = false;
        return true;
    }
    if (!m_isWarningAboutUnsaved) {
        m_isWarningAboutUnsaved = true;
        // Not from inside the view's mouse or key handling: the warning may be a modal dialog.
        QTimer::singleShot(0, this, [this] { Q_EMIT unsavedChangesWarning(); });
    }
    return false;
}

void ModeView::selectionChangedTo(const JobPtr &job) {
    if (m_isSelectingQuietly || !job || job == JobList::shared().currentJob())
        return;
    Q_EMIT jobSelected(job);
}

void ModeView::selectQuietly(const QModelIndex &index) {
    QAbstractItemView *view = itemView();
    QItemSelectionModel *selection = view->selectionModel();
    if (!selection)
        return;
    m_isSelectingQuietly = true;
    if (index.isValid()) {
        selection->setCurrentIndex(index,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(index);
    } else {
        selection->clearSelection();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_isSelectingQuietly = false;
}

JobPtr ModeView::jobAt(const QModelIndex &index) const {
    return index.siblingAtColumn(0).data(Roles::Job).value<JobPtr>();
}

void ModeView::enableJobGestures() {
    QAbstractItemView *view = itemView();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &at) {
        if (const JobPtr job = jobAt(view->indexAt(at)))
            Q_EMIT jobMenuRequested(job, view->viewport()->mapToGlobal(at));
    });
    view->viewport()->installEventFilter(this);
}

bool ModeView::eventFilter(QObject *watched, QEvent *event) {
    QAbstractItemView *view = itemView();
    if (watched != view->viewport())
        return QWidget::eventFilter(watched, event);
    // The views' own dragging would move rows; a job leaves the window as its file instead.
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        m_pressPosition = mouse->position().toPoint();
        m_pressed =
            mouse->button() == Qt::LeftButton ? view->indexAt(m_pressPosition) : QModelIndex();
    } else if (event->type() == QEvent::MouseMove && m_pressed.isValid()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool isFarEnough =
            (mouse->position().toPoint() - m_pressPosition).manhattanLength() >=
            QApplication::startDragDistance();
        if ((mouse->buttons() & Qt::LeftButton) && isFarEnough) {
            QMimeData *data = JobDrag::mimeData(jobAt(m_pressed));
            m_pressed = QModelIndex();
            if (!data)
                return false;
            auto *drag = new QDrag(view);
            drag->setMimeData(data);
            drag->exec(Qt::CopyAction | Qt::LinkAction, Qt::CopyAction);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        m_pressed = QModelIndex();
    }
    return false;
}

} // namespace Vandra

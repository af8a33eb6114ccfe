#include "ui/modes/modeview.h"

#include "model/bindings.h"
#include "model/joblist.h"

#include <QAbstractItemView>
#include <QTimer>

ModeView::ModeView(QWidget *parent)
    : QWidget(parent) {}

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

#include "ui/modes/gridmodeview.h"

#include "model/section.h"
#include "support/defaults.h"
#include "ui/modes/gridaccessible.h"
#include "ui/modes/gridview.h"
#include "ui/modes/jobfilterproxy.h"
#include "ui/modes/sectionmodel.h"

#include <QAccessible>
#include <QVBoxLayout>

namespace Vandra {

GridModeView::GridModeView(const ViewServices &services, QWidget *parent)
    : ModeView(parent)
    , m_model(new SectionModel(services, this))
    , m_proxy(new JobFilterProxy(this))
    , m_view(new GridView(this)) {
    setObjectName(QStringLiteral("gridMode"));
    // Screen readers read the grid's items through our own interfaces; Qt knows only its views.
    static const bool isFactoryInstalled = [] {
        QAccessible::installFactory(&GridAccessible::factory);
        return true;
    }();
    Q_UNUSED(isFactoryInstalled);
    m_view->setObjectName(QStringLiteral("gridView"));
    m_view->setAccessibleName(tr("Jobs"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_proxy->setSourceModel(m_model);
    m_view->setModel(m_proxy);
    m_view->setSelectionGate([this] { return allowsSelectionChange(); });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
        if (!selected.isEmpty())
            selectionChangedTo(SectionModel::jobAt(selected.first()));
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    enableJobGestures();
}

void GridModeView::setJobs(const QList<JobPtr> &jobs) {
    showJobs(jobs, QString());
}

void GridModeView::showJobs(const QList<JobPtr> &jobs, const QString &filterText) {
    const bool showsSystemJobs = Defaults::shared().showSystemJobs();
    if (isNewList(jobs, showsSystemJobs))
        m_model->setSections(buildSections(jobs, showsSystemJobs));
    m_proxy->setFilterText(filterText);
}

void GridModeView::showCurrentJob(const JobPtr &job) {
    selectQuietly(m_proxy->mapFromSource(m_model->indexOfJob(job)));
}

QAbstractItemModel *GridModeView::model() const {
    return m_proxy;
}

QAbstractItemView *GridModeView::itemView() const {
    return m_view;
}

} // namespace Vandra

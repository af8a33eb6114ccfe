#include "ui/modes/listmodeview.h"

#include "support/defaults.h"
#include "support/userdefaultskeys.h"
#include "ui/modes/guardedtreeview.h"
#include "ui/modes/jobsortproxy.h"
#include "ui/modes/jobtablemodel.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"

#include <QHeaderView>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace Vandra {

namespace {

// Draws the icon or check box of a yes/no or kind column in the middle of its cell.
class CentredDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->decorationAlignment = Qt::AlignCenter;
        option->displayAlignment = Qt::AlignCenter;
        if (option->features & QStyleOptionViewItem::HasDecoration)
            option->decorationSize = QSize(16, 16);
        option->features &= ~QStyleOptionViewItem::HasDisplay;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        QStyleOptionViewItem centred = option;
        initStyleOption(&centred, index);
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (!style)
            return;
        // The row's background and selection first, then the centred mark alone.
        QStyleOptionViewItem background = centred;
        background.features &=
            ~(QStyleOptionViewItem::HasDecoration | QStyleOptionViewItem::HasCheckIndicator);
        background.icon = QIcon();
        style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
        if (centred.features & QStyleOptionViewItem::HasCheckIndicator) {
            QStyleOptionViewItem check = centred;
            const QSize size(style->pixelMetric(QStyle::PM_IndicatorWidth, &check, widget),
                             style->pixelMetric(QStyle::PM_IndicatorHeight, &check, widget));
            check.rect = QStyle::alignedRect(option.direction, Qt::AlignCenter, size, option.rect);
            check.state = check.state & ~QStyle::State_HasFocus;
            check.state |= centred.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
            style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
        }
        if (centred.features & QStyleOptionViewItem::HasDecoration) {
            const QRect iconRect = QStyle::alignedRect(option.direction, Qt::AlignCenter,
                                                       centred.decorationSize, option.rect);
            const bool isSelected = option.state & QStyle::State_Selected;
            centred.icon.paint(painter, iconRect, Qt::AlignCenter,
                               isSelected ? QIcon::Selected : QIcon::Normal);
        }
    }
};

} // namespace

ListModeView::ListModeView(const ViewServices &services, QWidget *parent)
    : ModeView(parent)
    , m_model(new JobTableModel(services, this))
    , m_proxy(new JobSortProxy(this))
    , m_view(new GuardedTreeView(this)) {
    setObjectName(QStringLiteral("listMode"));
    m_view->setObjectName(QStringLiteral("listView"));
    m_view->setAccessibleName(tr("Jobs"));
    m_view->header()->setAccessibleName(tr("Columns"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_proxy->setSourceModel(m_model);
    m_view->setModel(m_proxy);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAlternatingRowColors(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionGate([this] { return allowsSelectionChange(); });

    auto *centred = new CentredDelegate(m_view);
    for (const ListColumn column :
         {ListColumn::kind, ListColumn::enabled, ListColumn::keepAlive, ListColumn::scheduled})
        m_view->setItemDelegateForColumn(int(column), centred);

    QHeaderView *header = m_view->header();
    header->setSectionsMovable(false);
    header->setStretchLastSection(true);
    header->resizeSection(int(ListColumn::name), 190);
    header->resizeSection(int(ListColumn::summary), 130);
    header->resizeSection(int(ListColumn::kind), 44);
    for (const ListColumn column :
         {ListColumn::enabled, ListColumn::keepAlive, ListColumn::scheduled})
        header->resizeSection(int(column), 68);
    // Until a header is clicked the rows keep the order of the job list.
    header->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setSortingEnabled(true);

    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint &at) {
        QMenu menu;
        for (const ListColumn column : ListColumns::allCases()) {
            QAction *action = menu.addAction(ListColumns::title(column));
            action->setCheckable(true);
            action->setChecked(isColumnVisible(column));
            connect(action, &QAction::toggled, this,
                    [this, column](bool on) { setColumnVisible(column, on); });
        }
        menu.exec(header->mapToGlobal(at));
    });

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_view->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            selectionChangedTo(SectionModel::jobAt(selected.first()));
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    restoreHiddenColumns();
    enableJobGestures();
}

void ListModeView::setJobs(const QList<JobPtr> &jobs) {
    showJobs(jobs, QString());
}

void ListModeView::showJobs(const QList<JobPtr> &jobs, const QString &filterText) {
    if (isNewList(jobs, false))
        m_model->setJobs(jobs);
    m_proxy->setFilterText(filterText);
}

void ListModeView::showCurrentJob(const JobPtr &job) {
    const int row = m_model->rowOfJob(job);
    selectQuietly(row < 0 ? QModelIndex() : m_proxy->mapFromSource(m_model->index(row, 0)));
}

QAbstractItemView *ListModeView::itemView() const {
    return m_view;
}

QList<JobPtr> ListModeView::content() const {
    QList<JobPtr> jobs;
    for (int row = 0; row < m_proxy->rowCount(); ++row)
        jobs.append(SectionModel::jobAt(m_proxy->index(row, 0)));
    return jobs;
}

bool ListModeView::isColumnVisible(ListColumn column) const {
    return !m_view->isColumnHidden(int(column));
}

void ListModeView::setColumnVisible(ListColumn column, bool isVisible) {
    m_view->setColumnHidden(int(column), !isVisible);
    QStringList hidden;
    for (const ListColumn each : ListColumns::allCases()) {
        if (!isColumnVisible(each))
            hidden.append(QString::number(int(each)));
    }
    Defaults::shared().setValueSoon(UserDefaultsKeys::hiddenListColumns,
                                    hidden.join(QLatin1Char(',')));
}

void ListModeView::restoreHiddenColumns() {
    const QString stored = Defaults::shared().value(UserDefaultsKeys::hiddenListColumns).toString();
    const QStringList hidden = stored.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const ListColumn column : ListColumns::allCases())
        m_view->setColumnHidden(int(column), hidden.contains(QString::number(int(column))));
}

} // namespace Vandra

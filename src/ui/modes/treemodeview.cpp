#include "ui/modes/treemodeview.h"

#include "model/section.h"
#include "support/defaults.h"
#include "support/localize.h"
#include "support/userdefaultskeys.h"
#include "ui/modes/guardedtreeview.h"
#include "ui/modes/jobfilterproxy.h"
#include "ui/modes/roles.h"
#include "ui/modes/sectionmodel.h"

#include <QHeaderView>
#include <QToolButton>
#include <QVBoxLayout>

namespace Vandra {

TreeModeView::TreeModeView(const ViewServices &services, QWidget *parent)
    : ModeView(parent)
    , m_model(new SectionModel(services, this))
    , m_proxy(new JobFilterProxy(this))
    , m_view(new GuardedTreeView(this)) {
    setObjectName(QStringLiteral("treeMode"));
    m_view->setObjectName(QStringLiteral("treeView"));
    m_view->setAccessibleName(tr("Jobs by kind"));
    m_view->setFrameShape(QFrame::NoFrame);
    m_proxy->setSourceModel(m_model);
    m_view->setModel(m_proxy);
    m_view->setHeaderHidden(true);
    // Every row has the same height, which spares the tree asking each of thousands of rows.
    m_view->setUniformRowHeights(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setIconSize(QSize(16, 16));
    m_view->header()->setStretchLastSection(false);
    m_view->header()->setSectionResizeMode(SectionModel::titleColumn, QHeaderView::Stretch);
    m_view->header()->setSectionResizeMode(SectionModel::countColumn, QHeaderView::Fixed);
    m_view->header()->resizeSection(SectionModel::countColumn, 56);
    m_view->setSelectionGate([this] { return allowsSelectionChange(); });

    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = m_view->selectionModel()->selectedRows();
        if (!selected.isEmpty())
            selectionChangedTo(SectionModel::jobAt(selected.first()));
    });
    connect(m_view, &QTreeView::expanded, this,
            [this](const QModelIndex &index) { rememberExpansion(index, true); });
    connect(m_view, &QTreeView::collapsed, this,
            [this](const QModelIndex &index) { rememberExpansion(index, false); });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    enableJobGestures();
}

void TreeModeView::setJobs(const QList<JobPtr> &jobs) {
    showJobs(jobs, QString());
}

void TreeModeView::showJobs(const QList<JobPtr> &jobs, const QString &filterText) {
    const bool showsSystemJobs = Defaults::shared().showSystemJobs();
    if (isNewList(jobs, showsSystemJobs))
        m_model->setSections(buildSections(jobs, showsSystemJobs));
    if (filterText != m_proxy->filterText()) {
        // The tree places its row widgets again after each run of rows it hides or shows,
        // laying out every row each time; without them it lays the rows out once.
        removeCountButtons();
        m_proxy->setFilterText(filterText);
    }
    updateCountButtons();
    // A section the filter hid and shows again comes back closed.
    restoreExpansion();
}

void TreeModeView::removeCountButtons() {
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        const QModelIndex cell = m_proxy->index(row, SectionModel::countColumn);
        if (QWidget *button = m_view->indexWidget(cell)) {
            m_view->setIndexWidget(cell, nullptr);
            button->hide();
            button->deleteLater();
        }
    }
}

void TreeModeView::updateCountButtons() {
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        const QModelIndex section = m_proxy->index(row, 0);
        const QModelIndex cell = section.siblingAtColumn(SectionModel::countColumn);
        const QString count = Localize::integer(section.data(Roles::Count).toInt());
        if (auto *shown = qobject_cast<QToolButton *>(m_view->indexWidget(cell))) {
            shown->setText(count);
            continue;
        }
        const Kind kind = Kind(section.data(Roles::SectionKind).toInt());
        auto *button = new QToolButton;
        button->setObjectName(QStringLiteral("countButton") + Kinds::name(kind));
        button->setText(count);
        button->setAutoRaise(true);
        button->setToolTip(Kinds::title(kind));
        connect(button, &QToolButton::clicked, this, [this, kind] {
            const QModelIndex index = indexOfSection(kind);
            m_view->setExpanded(index, !m_view->isExpanded(index));
        });
        m_view->setIndexWidget(cell, button);
    }
}

void TreeModeView::showCurrentJob(const JobPtr &job) {
    const QModelIndex index = m_proxy->mapFromSource(m_model->indexOfJob(job));
    if (index.isValid())
        m_view->expand(index.parent());
    selectQuietly(index);
}

QAbstractItemView *TreeModeView::itemView() const {
    return m_view;
}

QAbstractItemModel *TreeModeView::model() const {
    return m_proxy;
}

QModelIndex TreeModeView::indexOfSection(Kind kind) const {
    return m_proxy->mapFromSource(m_model->indexOfSection(kind));
}

QToolButton *TreeModeView::countButton(Kind kind) const {
    const QModelIndex section = indexOfSection(kind);
    if (!section.isValid())
        return nullptr;
    return qobject_cast<QToolButton *>(
        m_view->indexWidget(section.siblingAtColumn(SectionModel::countColumn)));
}

std::optional<QSet<int>> TreeModeView::storedExpansion() {
    Defaults &defaults = Defaults::shared();
    if (!defaults.contains(UserDefaultsKeys::expandedTreeSections))
        return std::nullopt;
    QSet<int> kinds;
    const QString stored = defaults.value(UserDefaultsKeys::expandedTreeSections).toString();
    for (const QString &part : stored.split(QLatin1Char(','), Qt::SkipEmptyParts))
        kinds.insert(part.toInt());
    return kinds;
}

void TreeModeView::restoreExpansion() {
    // Until the user opens or closes one, every section is open.
    const std::optional<QSet<int>> expanded = storedExpansion();
    m_isRestoring = true;
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        const QModelIndex section = m_proxy->index(row, 0);
        m_view->setExpanded(
            section, !expanded || expanded->contains(section.data(Roles::SectionKind).toInt()));
    }
    m_isRestoring = false;
}

void TreeModeView::rememberExpansion(const QModelIndex &section, bool isExpanded) {
    if (m_isRestoring || section.parent().isValid())
        return;
    QSet<int> kinds;
    if (const std::optional<QSet<int>> stored = storedExpansion()) {
        kinds = *stored;
    } else {
        for (const Kind kind : Kinds::allCases())
            kinds.insert(Kinds::rawValue(kind));
    }
    const int kind = section.data(Roles::SectionKind).toInt();
    if (isExpanded)
        kinds.insert(kind);
    else
        kinds.remove(kind);
    QList<int> sorted(kinds.cbegin(), kinds.cend());
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (const int value : std::as_const(sorted))
        parts.append(QString::number(value));
    Defaults::shared().setValueSoon(UserDefaultsKeys::expandedTreeSections,
                                    parts.join(QLatin1Char(',')));
}

} // namespace Vandra

#include "ui/editor/infoview.h"

#include "actions/jobstatustext.h"
#include "model/jobwriter.h"
#include "run/runhelper.h"
#include "store/jobdiff.h"
#include "store/schedulerows.h"
#include "support/localize.h"
#include "support/text.h"
#include "ui/common/codeview.h"
#include "ui/editor/changesview.h"
#include "ui/editor/controlnames.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace Vandra {

namespace {

enum Page { placeholderPage = 0, filePage = 1, itemPage = 2 };

QLabel *valueLabel(const QString &name, const QString &title, QWidget *parent) {
    auto *label = named(new QLabel(parent), name, title);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

InfoView::InfoView(const CodeTheme &theme, const JobStatusSource *source, QWidget *parent)
    : QWidget(parent)
    , m_status(source)
    , m_statusLabel(valueLabel(QStringLiteral("jobStatusLabel"), Localize::text("Status"), this))
    , m_pages(new QStackedWidget(this))
    , m_placeholder(named(new QLabel(Localize::text("No Selection"), this),
                          QStringLiteral("noSelectionLabel"), Localize::text("No Selection")))
    , m_pathLabel(valueLabel(QStringLiteral("pathLabel"), Localize::text("File"), this))
    , m_tabs(named(new QTabBar(this), QStringLiteral("infoTabs"), tr("File or changes")))
    , m_fileViews(new QStackedWidget(this))
    , m_fileText(
          named(new CodeView(theme, this), QStringLiteral("fileText"), Localize::text("File text")))
    , m_changes(new ChangesView(theme, this))
    , m_itemName(valueLabel(QStringLiteral("itemName"), Localize::name(), this))
    , m_itemKind(valueLabel(QStringLiteral("itemKind"), Localize::kind(), this))
    , m_itemPath(valueLabel(QStringLiteral("itemPath"), Localize::text("Path"), this)) {
    setObjectName(QStringLiteral("infoView"));
    m_pages->setObjectName(QStringLiteral("infoPages"));
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setForegroundRole(QPalette::PlaceholderText);
    m_pathLabel->setForegroundRole(QPalette::PlaceholderText);

    auto *file = new QWidget(m_pages);
    auto *fileLayout = new QVBoxLayout(file);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->addWidget(m_statusLabel);
    m_tabs->addTab(tr("File"));
    m_tabs->addTab(tr("Changes"));
    m_tabs->setDocumentMode(true);
    m_tabs->setDrawBase(false);
    m_fileViews->setObjectName(QStringLiteral("fileViews"));
    m_fileViews->addWidget(m_fileText);
    m_fileViews->addWidget(m_changes);
    connect(m_tabs, &QTabBar::currentChanged, m_fileViews, &QStackedWidget::setCurrentIndex);
    auto *heading = new QHBoxLayout;
    heading->addWidget(m_pathLabel, 1);
    heading->addWidget(m_tabs);
    fileLayout->addLayout(heading);
    fileLayout->addWidget(m_fileViews, 1);

    auto *item = new QWidget(m_pages);
    auto *itemLayout = new QFormLayout(item);
    itemLayout->addRow(Localize::name() + u':', m_itemName);
    itemLayout->addRow(Localize::kind() + u':', m_itemKind);
    itemLayout->addRow(Localize::text("Path:"), m_itemPath);

    m_pages->addWidget(m_placeholder);
    m_pages->addWidget(file);
    m_pages->addWidget(item);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);
    if (m_status)
        connect(m_status, &JobStatusSource::statusChanged, this, &InfoView::showStatus);
    showJob({}, false);
}

Job InfoView::asSaved(const Job &job) {
    Job copy = job;
    if (job.isChangesSet() && copy.changes().contains(Change::run))
        copy.setRun(RunHelper::repairedRun(job.run()));
    return copy;
}

void InfoView::showStatus() {
    const auto status = m_status && m_job ? m_status->status(*m_job) : std::nullopt;
    const QString line = JobStatusText::line(status);
    m_statusLabel->setText(line);
    m_statusLabel->setVisible(!line.isEmpty());
}

std::optional<QString> InfoView::textAsSaved(const JobPtr &job) {
    if (!job || !job->plist)
        return std::nullopt;
    Job copy = asSaved(*job);
    const RuleRows rows = ScheduleRows::forJob(*job);
    return JobWriter::fileText(copy, &rows);
}

void InfoView::showJob(const JobPtr &job, bool isEdited, const JobDiff *diff) {
    m_job = job;
    showStatus();
    if (!job) {
        m_pages->setCurrentIndex(placeholderPage);
        m_fileText->clear();
        m_changes->clear();
        return;
    }
    const QString path = job->url ? Text::shortenHomeFolder(*job->url) : QString();
    if (!job->plist) {
        m_itemName->setText(job->label);
        m_itemKind->setText(
            job->loginItemKind().value_or(job->kind ? Kinds::title(*job->kind) : QString()));
        m_itemPath->setText(path);
        m_pages->setCurrentIndex(itemPage);
        return;
    }
    m_pathLabel->setText(path.isEmpty() ? Localize::text("Not saved yet") : path);
    const std::optional<QString> saved = isEdited ? textAsSaved(job) : std::nullopt;
    m_fileText->showText(saved.value_or(job->textContent.text().value_or(QString())));
    if (diff)
        m_changes->showDiff(*diff);
    else
        m_changes->clear();
    m_pages->setCurrentIndex(filePage);
}

} // namespace Vandra

#include "ui/sheets/logsheet.h"

#include "store/jobeditor.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "ui/sheets/logtablemodel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace Vandra {

namespace {

constexpr int progressDelayMilliseconds = 400;

} // namespace

LogSheet::LogSheet(const JobPtr &job, ActionController &controller, JobEditor *editor,
                   QWidget *parent)
    : SheetDialog(QStringLiteral("logSheet"), Localize::log(), parent)
    , m_job(job)
    , m_session(controller)
    , m_model(new LogTableModel(m_session, this))
    , m_title(new QLabel(this))
    , m_lengthMenu(new QComboBox(this))
    , m_periodMenu(new QComboBox(this))
    , m_filterField(new QLineEdit(this))
    , m_progress(new QProgressBar(this))
    , m_refreshButton(button(QStringLiteral("refreshButton"), Localize::refresh()))
    , m_pages(new QStackedWidget(this))
    , m_table(new QTableView(m_pages))
    , m_emptyLabel(new QLabel(m_pages))
    , m_copyAction(new QAction(tr("Copy"), m_table)) {
    rememberFrame(QStringLiteral("LogSheet"));
    const QString title = jobTitle(Localize::log(), job);
    m_title->setText(title);
    setWindowTitle(title);
    name(m_title, QStringLiteral("logTitle"), title);
    name(m_lengthMenu, QStringLiteral("lengthMenu"), Localize::length());
    name(m_periodMenu, QStringLiteral("periodMenu"), Localize::timePeriod());
    name(m_filterField, QStringLiteral("filterField"), Localize::filter());
    name(m_progress, QStringLiteral("progressIndicator"), tr("Searching the log"));
    name(m_pages, QStringLiteral("logPages"), Localize::log());
    name(m_table, QStringLiteral("logTable"), Localize::log());
    name(m_emptyLabel, QStringLiteral("emptyLabel"), Localize::noItems());
    m_copyAction->setObjectName(QStringLiteral("copyAction"));

    m_lengthMenu->setToolTip(Localize::length());
    for (const int number : LogSession::lengthNumbers())
        m_lengthMenu->addItem(QLocale().toString(number));
    m_lengthMenu->setCurrentIndex(m_session.lengthIndex());
    m_periodMenu->setToolTip(Localize::timePeriod());
    m_periodMenu->addItems(
        {Localize::Lowercase::minute(), Localize::hour().toLower(), Localize::day().toLower()});
    m_periodMenu->setCurrentIndex(m_session.periodIndex());
    m_filterField->setPlaceholderText(Localize::filter());
    m_filterField->setClearButtonEnabled(true);
    m_filterField->setEnabled(false);
    m_progress->setRange(0, 0);
    m_progress->setMaximumWidth(120);
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_progressDelay.setSingleShot(true);
    m_progressDelay.setInterval(progressDelayMilliseconds);

    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->horizontalHeader()->resizeSection(int(LogSession::Column::date), 180);
    m_table->horizontalHeader()->setSortIndicator(int(LogSession::Column::date),
                                                  Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetShortcut);
    m_table->addAction(m_copyAction);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_emptyLabel->setAlignment(Qt::AlignCenter);
    m_emptyLabel->setWordWrap(true);
    m_emptyLabel->setForegroundRole(QPalette::PlaceholderText);
    QFont bold = m_emptyLabel->font();
    bold.setBold(true);
    m_emptyLabel->setFont(bold);
    m_pages->addWidget(m_table);
    m_pages->addWidget(m_emptyLabel);

    QPushButton *doneButton = button(QStringLiteral("doneButton"), Localize::done());
    auto *controls = new QHBoxLayout;
    controls->addWidget(m_lengthMenu);
    controls->addWidget(m_periodMenu);
    controls->addWidget(m_filterField, 1);
    controls->addWidget(m_progress);
    controls->addWidget(m_refreshButton);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(controls);
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    resize(720, 460);

    connect(&m_session, &LogSession::stateChanged, this, &LogSheet::stateChanged);
    connect(&m_session, &LogSession::contentChanged, this, &LogSheet::contentChanged);
    connect(m_lengthMenu, &QComboBox::activated, this, [this](int index) {
        m_session.setLengthIndex(index);
        fetch();
    });
    connect(m_periodMenu, &QComboBox::activated, this, [this](int index) {
        m_session.setPeriodIndex(index);
        fetch();
    });
    connect(m_filterField, &QLineEdit::textChanged, this, &LogSheet::filterEdited);
    connect(m_refreshButton, &QPushButton::clicked, this, &LogSheet::refreshOrCancel);
    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_copyAction, &QAction::triggered, this, &LogSheet::copySelection);
    connect(&m_progressDelay, &QTimer::timeout, m_progress, &QWidget::show);
    if (editor) {
        connect(editor, &JobEditor::logEntriesArrived, this, &LogSheet::logEntriesArrived);
        connect(editor, &JobEditor::logViewerReset, this, &LogSheet::helperFailed);
    }
    contentChanged();
}

LogSheet::~LogSheet() {
    if (m_session.state() == LogSession::State::fetch)
        m_session.cancel();
}

QString LogSheet::emptyText(Reason reason, bool hasJournal) {
    switch (reason) {
    case Reason::noLabel:
        return tr("This job has no label, so no log line can name it.");
    case Reason::searching:
        return tr("Searching the log…");
    case Reason::noEntries:
        return hasJournal ? tr("No log lines name this job in the chosen time.")
                          : tr("No log lines name this job in the chosen time. This machine "
                               "has no journal, so only the job’s output files were read.");
    case Reason::filtered:
        return tr("No log line contains the filter text.");
    case Reason::refused:
        return tr("The helper could not read the log.");
    case Reason::unreachable:
        return tr("The helper could not be reached, so the log was not read.");
    case Reason::cancelled:
        return tr("The search was stopped.");
    }
    return Localize::noItems();
}

bool LogSheet::hasJournal() {
    // The helper runs the journal reader that this variable names, empty for none.
    if (qEnvironmentVariableIsSet("VANDRA_JOURNALCTL"))
        return !qEnvironmentVariable("VANDRA_JOURNALCTL").trimmed().isEmpty();
    return !QStandardPaths::findExecutable(QStringLiteral("journalctl")).isEmpty();
}

void LogSheet::fetch() {
    if (m_session.state() == LogSession::State::fetch)
        m_session.cancel();
    m_hasFetched = true;
    const QString label = m_job ? m_job->label : QString();
    m_reason = label.isEmpty() ? Reason::noLabel : Reason::searching;
    m_session.fetch(label);
    if (!label.isEmpty() && m_session.state() == LogSession::State::rest) {
        m_reason = Reason::unreachable;
        contentChanged();
    }
}

void LogSheet::cancel() {
    m_reason = Reason::cancelled;
    m_session.cancel();
}

void LogSheet::logEntriesArrived(const QList<LogEntry> &entries) {
    m_reason = Reason::noEntries;
    m_session.showEntries(entries);
}

void LogSheet::helperFailed() {
    m_reason = Reason::refused;
    m_session.reset();
}

void LogSheet::copySelection() {
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    const std::optional<QString> text = m_session.copyText(rows);
    if (!text) {
        Interaction::shared().beep();
        return;
    }
    QApplication::clipboard()->setText(*text);
}

void LogSheet::showEvent(QShowEvent *event) {
    SheetDialog::showEvent(event);
    if (!m_hasFetched)
        fetch();
}

void LogSheet::done(int result) {
    if (m_session.state() == LogSession::State::fetch)
        m_session.cancel();
    SheetDialog::done(result);
}

void LogSheet::stateChanged(LogSession::State state) {
    const bool isFetching = state == LogSession::State::fetch;
    m_filterField->setEnabled(m_session.isFilterEnabled());
    m_lengthMenu->setEnabled(!isFetching);
    m_periodMenu->setEnabled(!isFetching);
    const QString title = isFetching ? Localize::cancel() : Localize::refresh();
    m_refreshButton->setText(title);
    m_refreshButton->setAccessibleName(title);
    if (isFetching) {
        m_progressDelay.start();
    } else {
        m_progressDelay.stop();
        m_progress->hide();
    }
    contentChanged();
}

void LogSheet::contentChanged() {
    const bool isEmpty = m_session.content().isEmpty();
    Reason reason = m_reason;
    if (isEmpty && reason == Reason::noEntries && !m_filterField->text().isEmpty())
        reason = Reason::filtered;
    m_emptyLabel->setText(emptyText(reason, hasJournal()));
    m_emptyLabel->setAccessibleName(m_emptyLabel->text());
    m_pages->setCurrentWidget(isEmpty ? static_cast<QWidget *>(m_emptyLabel) : m_table);
}

void LogSheet::filterEdited(const QString &text) {
    m_session.filter(text);
}

void LogSheet::refreshOrCancel() {
    if (m_session.state() == LogSession::State::fetch)
        cancel();
    else
        fetch();
}

} // namespace Vandra

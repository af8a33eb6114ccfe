#include "ui/editor/detaileditor.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/launchdkey.h"
#include "run/runhelper.h"
#include "store/jobdiff.h"
#include "store/jobdoctor.h"
#include "store/jobeditor.h"
#include "store/schedulerows.h"
#include "support/defaults.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "ui/common/helppage.h"
#include "ui/common/icons.h"
#include "ui/common/severitybadge.h"
#include "ui/common/viewservices.h"
#include "ui/editor/advancedpage.h"
#include "ui/editor/controlnames.h"
#include "ui/editor/diagnosticspage.h"
#include "ui/editor/infoview.h"
#include "ui/editor/jobform.h"
#include "ui/editor/testpopover.h"
#include "ui/editor/whenpage.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace Vandra {

namespace {

// Typing is not slowed down by writing the whole file after every key.
constexpr int infoRefreshMs = 150;

const QString helpFragment = QStringLiteral("settings");

// Whether the save adds a search path to job by the Automatic PATH preference: a change
// the user chose once for every job, which the Save button's tool tip names; asking about
// it on every such save would only teach the user to click the question away. A value
// that is no dictionary is replaced, though, and that is asked about.
bool addsSearchPath(const Job &job) {
    if (!Defaults::shared().automaticPATH() || !job.plist)
        return false;
    const PlistValue environment = job.plist->value(LaunchdKey::EnvironmentVariables);
    return environment.isNone() ||
           (environment.dict() && !environment.dict()->contains(QStringLiteral("PATH")));
}

QString saveShortcutText() {
    return Localize::text("Save (%1)")
        .arg(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText));
}

} // namespace

DetailEditor::DetailEditor(JobEditor &editor, ActionController &controller, const CodeTheme &theme,
                           const ViewServices &view, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_controller(controller)
    , m_tabs(named(new QTabWidget(this), QStringLiteral("editorTabs"), Localize::text("Editor")))
    , m_form(new JobForm(editor, m_tabs))
    , m_when(new WhenPage(editor, m_tabs))
    , m_advanced(new AdvancedPage(editor, m_tabs))
    , m_diagnostics(new DiagnosticsPage(view.status, view.health, m_tabs))
    , m_helpButton(
          named(new QPushButton(this), QStringLiteral("helpButton"), Localize::text("Help")))
    , m_saveProgress(
          named(new QProgressBar(this), QStringLiteral("saveProgress"), Localize::text("Saving")))
    , m_testButton(named(new QPushButton(Localize::text("Test"), this),
                         QStringLiteral("testButton"), Localize::text("Test")))
    , m_discardButton(named(new QPushButton(Localize::text("Discard"), this),
                            QStringLiteral("discardButton"), Localize::text("Discard")))
    , m_saveButton(named(new QPushButton(Localize::text("Save"), this),
                         QStringLiteral("saveButton"), Localize::text("Save")))
    , m_info(new InfoView(theme, &view.status, this))
    , m_infoTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("detailEditor"));
    m_tabs->addTab(m_form, Localize::text("Job"));
    m_tabs->addTab(m_when, Localize::text("When"));
    m_tabs->addTab(m_advanced, Localize::text("Advanced"));
    m_tabs->addTab(m_diagnostics, tr("Diagnostics"));
    m_tabs->setDocumentMode(true);

    m_helpButton->setIcon(Icons::themed(QStringLiteral("help-browser"), Icons::Style::symbolic));
    m_helpButton->setToolTip(Localize::text("Help"));
    m_saveProgress->setRange(0, 0);
    m_saveProgress->setTextVisible(false);
    m_saveProgress->setMaximumWidth(120);
    m_saveProgress->hide();
    m_saveButton->setDefault(true);
    m_saveButton->setToolTip(saveShortcutText());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_helpButton);
    buttons->addWidget(m_saveProgress);
    buttons->addStretch(1);
    buttons->addWidget(m_testButton);
    buttons->addWidget(m_discardButton);
    buttons->addWidget(m_saveButton);

    auto *top = new QWidget(this);
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(m_tabs, 1);
    topLayout->addLayout(buttons);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("editorSplitter"));
    splitter->addWidget(top);
    splitter->addWidget(m_info);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter);

    m_infoTimer->setSingleShot(true);
    m_infoTimer->setInterval(infoRefreshMs);
    connect(m_infoTimer, &QTimer::timeout, this, &DetailEditor::refreshInfo);

    connect(m_saveButton, &QPushButton::clicked, this, &DetailEditor::save);
    connect(m_discardButton, &QPushButton::clicked, this, &DetailEditor::discard);
    connect(m_testButton, &QPushButton::clicked, this, &DetailEditor::test);
    connect(m_helpButton, &QPushButton::clicked, this, &DetailEditor::help);
    connect(m_form, &JobForm::edited, this, &DetailEditor::scheduleInfoRefresh);
    connect(m_when, &WhenPage::edited, this, &DetailEditor::scheduleInfoRefresh);
    connect(m_advanced, &AdvancedPage::edited, this, &DetailEditor::scheduleInfoRefresh);
    connect(&m_editor, &JobEditor::formChanged, this, &DetailEditor::scheduleInfoRefresh);
    connect(m_diagnostics, &DiagnosticsPage::fixed, this, &DetailEditor::refreshInfo);
    connect(&m_editor, &JobEditor::testOutputArrived, this, [this](const QString &output) {
        if (m_testPopover)
            m_testPopover->showOutput(output);
    });
    connect(&JobList::shared(), &JobList::currentJobChanged, this, [this] {
        // The test belongs to the job it was started for.
        if (m_testPopover)
            m_testPopover->close();
        refreshInfo();
        updateButtons();
    });
    Bindings &bindings = Bindings::shared();
    for (const auto signal :
         {&Bindings::isEditedChanged, &Bindings::isLockedChanged, &Bindings::isSavingChanged})
        connect(&bindings, signal, this, &DetailEditor::updateButtons);
    connect(&bindings, &Bindings::isEditedChanged, this, &DetailEditor::scheduleInfoRefresh);
    refreshInfo();
    updateButtons();
}

DetailEditor::~DetailEditor() {
    if (m_testPopover)
        delete m_testPopover.data();
}

TestPopover *DetailEditor::testPopover() const {
    return m_testPopover.data();
}

const JobPtr &DetailEditor::job() const {
    return JobList::shared().currentJob();
}

bool DetailEditor::canSave() const {
    const Bindings &bindings = Bindings::shared();
    return job() && bindings.isEdited() && !bindings.isSaving() && !bindings.isLocked();
}

void DetailEditor::save() {
    if (!canSave())
        return;
    if (m_testPopover)
        m_testPopover->close();
    if (!confirmUntouchedKeys())
        return;
    m_editor.save();
}

std::optional<JobDiff> DetailEditor::currentDiff() const {
    const JobPtr &current = job();
    if (!current || !current->plist)
        return std::nullopt;
    Job copy = InfoView::asSaved(*current);
    const RuleRows rows = ScheduleRows::forJob(*current);
    return JobDiff::forJob(copy, &rows);
}

bool DetailEditor::confirmUntouchedKeys() {
    const std::optional<JobDiff> diff = currentDiff();
    QStringList untouched = diff ? diff->untouchedKeys() : QStringList();
    if (addsSearchPath(*job()))
        untouched.removeAll(LaunchdKey::EnvironmentVariables);
    if (untouched.isEmpty())
        return true;
    AlertRequest request;
    request.message = tr("Save changes to keys you did not edit?");
    request.informativeText =
        tr("Saving also changes %1, which you did not edit. The whole change is on the Changes "
           "tab beside the file.")
            .arg(untouched.join(QStringLiteral(", ")));
    request.buttons = {Localize::text("Save"), Localize::text("Cancel")};
    return Interaction::shared().alert(request) == Interaction::firstButton;
}

void DetailEditor::discard() {
    if (!Bindings::shared().isEdited() || Bindings::shared().isSaving())
        return;
    m_editor.discard();
}

void DetailEditor::test() {
    if (m_testPopover) {
        m_testPopover->close();
        return;
    }
    if (!job() || !RunHelper::checkRunNotEmpty(m_editor.runField()))
        return;
    m_testPopover = new TestPopover(m_controller, this);
    m_testPopover->showAt(m_testButton, job());
}

void DetailEditor::help() {
    HelpPage::open(helpFragment);
}

void DetailEditor::updateButtons() {
    const Bindings &bindings = Bindings::shared();
    const bool isSaving = bindings.isSaving();
    m_saveButton->setEnabled(canSave());
    m_discardButton->setEnabled(job() && bindings.isEdited() && !isSaving);
    m_testButton->setEnabled(job() && !isSaving);
    m_saveProgress->setVisible(isSaving);
    m_helpButton->setVisible(!isSaving);
    Q_EMIT canSaveChanged(canSave());
}

void DetailEditor::scheduleInfoRefresh() {
    m_infoTimer->start();
}

void DetailEditor::refreshInfo() {
    m_infoTimer->stop();
    const bool isEdited = Bindings::shared().isEdited();
    const std::optional<JobDiff> diff = currentDiff();
    m_info->showJob(job(), isEdited, diff ? &*diff : nullptr);
    m_saveButton->setToolTip(isEdited && diff ? saveShortcutText() + u'\n' + diff->summary()
                                              : saveShortcutText());
    m_diagnostics->refresh();
    showDiagnosticsBadge();
}

void DetailEditor::showDiagnosticsBadge() {
    const int page = m_tabs->indexOf(m_diagnostics);
    const std::optional<Finding::Severity> worst = JobDoctor::worst(m_diagnostics->findings());
    m_tabs->setTabIcon(page, worst ? SeverityBadge::icon(*worst) : QIcon());
    m_tabs->setTabToolTip(page, worst ? SeverityBadge::title(*worst) : QString());
}

} // namespace Vandra

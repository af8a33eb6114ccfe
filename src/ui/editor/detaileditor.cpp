#include "ui/editor/detaileditor.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "run/runhelper.h"
#include "store/jobeditor.h"
#include "support/localize.h"
#include "ui/common/helppage.h"
#include "ui/common/icons.h"
#include "ui/editor/advancedpage.h"
#include "ui/editor/controlnames.h"
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

namespace {

// Typing is not slowed down by writing the whole file after every key.
constexpr int infoRefreshMs = 150;

const QString helpFragment = QStringLiteral("settings");

} // namespace

DetailEditor::DetailEditor(JobEditor &editor, ActionController &controller, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_controller(controller)
    , m_tabs(named(new QTabWidget(this), QStringLiteral("editorTabs"), Localize::text("Editor")))
    , m_form(new JobForm(editor, m_tabs))
    , m_when(new WhenPage(editor, m_tabs))
    , m_advanced(new AdvancedPage(editor, m_tabs))
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
    , m_info(new InfoView(this))
    , m_infoTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("detailEditor"));
    m_tabs->addTab(m_form, Localize::text("Job"));
    m_tabs->addTab(m_when, Localize::text("When"));
    m_tabs->addTab(m_advanced, Localize::text("Advanced"));
    m_tabs->setDocumentMode(true);

    m_helpButton->setIcon(Icons::themed(QStringLiteral("help-browser"), Icons::Style::symbolic));
    m_helpButton->setToolTip(Localize::text("Help"));
    m_saveProgress->setRange(0, 0);
    m_saveProgress->setTextVisible(false);
    m_saveProgress->setMaximumWidth(120);
    m_saveProgress->hide();
    m_saveButton->setDefault(true);
    m_saveButton->setToolTip(
        Localize::text("Save (%1)")
            .arg(QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText)));

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
    m_editor.save();
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
    m_info->showJob(job(), Bindings::shared().isEdited());
}

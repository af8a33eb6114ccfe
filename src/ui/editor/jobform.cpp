#include "ui/editor/jobform.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "run/runhelper.h"
#include "store/jobeditor.h"
#include "support/interaction.h"
#include "support/localize.h"
#include "ui/common/icons.h"
#include "ui/editor/controlnames.h"
#include "ui/editor/runfield.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>

namespace Vandra {

namespace {

constexpr int kindIconSize = 18;
constexpr int runIconSize = 16;

void setTextKeepingCursor(QLineEdit *field, const QString &text) {
    if (field->text() != text)
        field->setText(text);
}

} // namespace

JobForm::JobForm(JobEditor &editor, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_kindMenu(named(new QComboBox(this), QStringLiteral("kindMenu"), Localize::kind()))
    , m_nameField(named(new QLineEdit(this), QStringLiteral("nameField"), Localize::name()))
    , m_runField(named(new RunField(this), QStringLiteral("runField"), Localize::run()))
    , m_runIcon(named(new QLabel(this), QStringLiteral("runIcon"), Localize::text("Program")))
    , m_chooseButton(named(new QPushButton(Localize::text("Choose…"), this),
                           QStringLiteral("chooseButton"), Localize::text("Choose Program")))
    , m_enabledBox(named(new QCheckBox(Localize::enabled(), this), QStringLiteral("enabledBox"),
                         Localize::enabled())) {
    setObjectName(QStringLiteral("jobForm"));
    buildKindMenu();
    m_runField->setPlaceholderText(Localize::text("Command to run, or drop a program here"));
    m_runIcon->setFixedSize(runIconSize, runIconSize);

    auto *runRow = new QHBoxLayout;
    runRow->setContentsMargins(0, 0, 0, 0);
    runRow->addWidget(m_runIcon);
    runRow->addWidget(m_runField, 1);
    runRow->addWidget(m_chooseButton);
    auto *form = new QFormLayout(this);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    const auto label = [this](const QString &text, QWidget *buddy) {
        auto *title = new QLabel(text + u':', this);
        title->setBuddy(buddy);
        return title;
    };
    form->addRow(label(Localize::kind(), m_kindMenu), m_kindMenu);
    form->addRow(label(Localize::name(), m_nameField), m_nameField);
    form->addRow(label(Localize::run(), m_runField), runRow);
    form->addRow(QString(), m_enabledBox);

    connect(m_kindMenu, &QComboBox::activated, this, [this](int index) {
        if (const auto kind = Kinds::fromRaw(m_kindMenu->itemData(index).toLongLong())) {
            m_editor.setKind(*kind);
            Q_EMIT edited();
        }
    });
    connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_editor.setNameText(text);
        Q_EMIT edited();
    });
    const auto runChanged = [this](const QString &text) {
        m_editor.setRunText(text);
        Q_EMIT edited();
    };
    connect(m_runField, &QLineEdit::textEdited, this, runChanged);
    connect(m_runField, &RunField::fileDropped, this, runChanged);
    connect(m_chooseButton, &QPushButton::clicked, this, &JobForm::chooseProgram);
    connect(m_enabledBox, &QCheckBox::clicked, this, [this](bool isOn) {
        m_editor.setEnabledChecked(isOn);
        Q_EMIT edited();
    });
    connect(&m_editor, &JobEditor::formChanged, this, &JobForm::updateForm);
    connect(&m_editor, &JobEditor::selectNameField, this, [this] {
        m_nameField->setFocus(Qt::OtherFocusReason);
        m_nameField->selectAll();
    });
    connect(&Bindings::shared(), &Bindings::isLockedChanged, this, &JobForm::updateEnabling);
    updateForm();
}

void JobForm::buildKindMenu() {
    auto *items = new QStandardItemModel(m_kindMenu);
    for (const Kind kind : Kinds::allCases()) {
        auto *item = new QStandardItem(Icons::kind(kind), Kinds::title(kind));
        item->setData(Kinds::rawValue(kind), Qt::UserRole);
        // Other kinds are shown, so the menu can name a job's kind, but cannot be chosen.
        item->setEnabled(Kinds::isEditable(kind));
        items->appendRow(item);
    }
    m_kindMenu->setModel(items);
    m_kindMenu->setIconSize(QSize(kindIconSize, kindIconSize));
}

void JobForm::updateForm() {
    const JobPtr &job = JobList::shared().currentJob();
    setTextKeepingCursor(m_nameField, m_editor.nameField());
    setTextKeepingCursor(m_runField, m_editor.runField());
    m_kindMenu->setCurrentIndex(job && job->kind ? Kinds::rawValue(*job->kind) : -1);
    m_enabledBox->setChecked(job && job->isEnabled());
    const QIcon icon = job ? Icons::run(*job) : QIcon();
    m_runIcon->setPixmap(icon.pixmap(QSize(runIconSize, runIconSize)));
    updateEnabling();
}

void JobForm::updateEnabling() {
    const bool isEditable = JobList::shared().currentJob() && !Bindings::shared().isLocked();
    for (QWidget *control :
         {static_cast<QWidget *>(m_kindMenu), static_cast<QWidget *>(m_nameField),
          static_cast<QWidget *>(m_runField), static_cast<QWidget *>(m_chooseButton),
          static_cast<QWidget *>(m_enabledBox)})
        control->setEnabled(isEditable);
}

void JobForm::chooseProgram() {
    if (!JobList::shared().currentJob())
        return;
    FilePanelRequest request;
    request.title = Localize::text("Choose a Program");
    request.canCreateFolders = false;
    const std::optional<QString> path = Interaction::shared().openPanel(request);
    if (!path)
        return;
    const int start = m_runField->hasSelectedText() ? m_runField->selectionStart() : 0;
    const int length = m_runField->hasSelectedText() ? int(m_runField->selectedText().size()) : 0;
    const QString text = RunHelper::insertChosenText(
        m_runField->text(), RunHelper::chosenFileText(*path), start, length);
    m_runField->setText(text);
    m_editor.setRunText(text);
    Q_EMIT edited();
}

} // namespace Vandra

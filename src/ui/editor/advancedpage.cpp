#include "ui/editor/advancedpage.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/sessiontype.h"
#include "schedule/whenswitches.h"
#include "support/localize.h"
#include "ui/editor/controlnames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Vandra {

namespace {

QString sessionTypeTitle(SessionType type) {
    switch (type) {
    case SessionType::aqua:
        return Localize::text("Desktop session (Aqua)");
    case SessionType::background:
        return Localize::text("Background");
    case SessionType::loginWindow:
        return Localize::text("Login window");
    case SessionType::standardIO:
        return Localize::text("Standard I/O");
    case SessionType::system:
        return Localize::text("System");
    }
    return {};
}

} // namespace

AdvancedPage::AdvancedPage(JobEditor &editor, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_sessionTypeMenu(named(new QComboBox(this), QStringLiteral("sessionTypeMenu"),
                              Localize::text("Session type"))) {
    setObjectName(QStringLiteral("advancedPage"));
    using Box = JobEditor::Box;
    auto *boxes = new QGridLayout;
    boxes->setContentsMargins(0, 0, 0, 0);
    const QList<QCheckBox *> checkBoxes = {
        addBox(Box::lowPriorityIO, QStringLiteral("lowPriorityIOBox"),
               Localize::text("Low priority I/O")),
        addBox(Box::legacyTimers, QStringLiteral("legacyTimersBox"),
               Localize::text("Legacy timers")),
        addBox(Box::sessionCreate, QStringLiteral("sessionCreateBox"),
               Localize::text("Create a security session")),
        addBox(Box::successfulExit, QStringLiteral("successfulExitBox"),
               Localize::text("Keep alive only after a successful exit")),
        addBox(Box::launchOnlyOnce, QStringLiteral("launchOnlyOnceBox"),
               Localize::text("Launch only once")),
        addBox(Box::abandonProcessGroup, QStringLiteral("abandonProcessGroupBox"),
               Localize::text("Abandon the process group")),
    };
    for (int index = 0; index < checkBoxes.size(); ++index)
        boxes->addWidget(checkBoxes.at(index), index / 2, index % 2);

    for (const SessionType type : SessionTypes::allCases())
        m_sessionTypeMenu->addItem(sessionTypeTitle(type));
    QCheckBox *sessionTypeBox =
        addBox(Box::limitLoadToSessionType, QStringLiteral("limitLoadToSessionTypeBox"),
               Localize::text("Load only in one session type"));

    using Field = JobEditor::Field;
    using Path = JobEditor::PathButton;
    const auto withChoose = [](QLineEdit *field, QPushButton *button) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(field, 1);
        row->addWidget(button);
        return row;
    };
    auto *fields = new QFormLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    fields->addRow(sessionTypeBox);
    auto *sessionTypeLabel = new QLabel(Localize::text("Session type:"), this);
    sessionTypeLabel->setBuddy(m_sessionTypeMenu);
    fields->addRow(sessionTypeLabel, m_sessionTypeMenu);
    fields->addRow(
        Localize::text("User name:"),
        addField(Field::userName, QStringLiteral("userNameField"), Localize::text("User name")));
    fields->addRow(Localize::text("Mach service:"),
                   addField(Field::machServices, QStringLiteral("machServicesField"),
                            Localize::text("Mach service")));
    // The fields that hold a path, each with a Choose button.
    struct PathRow {
        Path button;
        const char *name;
        QString title;
        QString chooseTitle;
    };
    const QList<PathRow> pathRows = {
        {Path::watchPaths, "watchPaths", Localize::text("Watch path"),
         Localize::text("Choose Watch Path")},
        {Path::workingDirectory, "workingDirectory", Localize::text("Working folder"),
         Localize::text("Choose Working Folder")},
        {Path::standardOutPath, "standardOutPath", Localize::text("Output file"),
         Localize::text("Choose Output File")},
        {Path::standardErrorPath, "standardErrorPath", Localize::text("Error file"),
         Localize::text("Choose Error File")},
    };
    for (const PathRow &row : pathRows) {
        const QString name = QString::fromLatin1(row.name);
        fields->addRow(row.title + u':',
                       withChoose(addField(JobEditor::fieldOf(row.button),
                                           name + QStringLiteral("Field"), row.title),
                                  addChooseButton(row.button, name + QStringLiteral("ChooseButton"),
                                                  row.chooseTitle)));
    }

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(fields);
    layout->addStretch(1);

    connect(m_sessionTypeMenu, &QComboBox::activated, this, [this](int index) {
        m_editor.setSessionTypeIndex(index);
        Q_EMIT edited();
    });
    Bindings &bindings = Bindings::shared();
    for (const auto signal : {&Bindings::isLockedChanged, &Bindings::isUserNameEnabledChanged,
                              &Bindings::isMachServicesEnabledChanged,
                              &Bindings::isLimitLoadToSessionTypeEnabledChanged,
                              &Bindings::isKeepAliveSuccessfulExitEnabledChanged})
        connect(&bindings, signal, this, &AdvancedPage::showJob);
    connect(&m_editor.whenSwitches(), &WhenSwitches::advancedPageNeedsRefresh, this,
            &AdvancedPage::showJob);
    connect(&JobList::shared(), &JobList::currentJobChanged, this, &AdvancedPage::showJob);
    showJob();
}

QCheckBox *AdvancedPage::addBox(JobEditor::Box box, const QString &name, const QString &title) {
    auto *check = named(new QCheckBox(title, this), name, title);
    m_boxes.insert(box, check);
    connect(check, &QCheckBox::clicked, this, [this, box](bool isOn) {
        m_editor.setBox(box, isOn);
        Q_EMIT edited();
    });
    return check;
}

QLineEdit *AdvancedPage::addField(JobEditor::Field field, const QString &name,
                                  const QString &title) {
    auto *line = named(new QLineEdit(this), name, title);
    m_fields.insert(field, line);
    connect(line, &QLineEdit::textEdited, this, [this, field](const QString &text) {
        m_editor.setFieldText(field, text);
        Q_EMIT edited();
    });
    return line;
}

QPushButton *AdvancedPage::addChooseButton(JobEditor::PathButton button, const QString &name,
                                           const QString &title) {
    auto *choose = named(new QPushButton(Localize::text("Choose…"), this), name, title);
    m_chooseButtons.append(choose);
    connect(choose, &QPushButton::clicked, this, [this, button] {
        if (m_editor.choosePath(button)) {
            showJob();
            Q_EMIT edited();
        }
    });
    return choose;
}

void AdvancedPage::showJob() {
    const JobPtr &job = JobList::shared().currentJob();
    const Bindings &bindings = Bindings::shared();
    for (auto it = m_boxes.cbegin(); it != m_boxes.cend(); ++it) {
        bool isOn = false;
        if (job) {
            switch (it.key()) {
            case JobEditor::Box::successfulExit:
                isOn = bindings.isKeepAliveSuccessfulExitEnabled();
                break;
            case JobEditor::Box::limitLoadToSessionType:
                isOn = job->isLimitLoadToSessionTypeEnabled();
                break;
            default:
                isOn =
                    job->plist && job->plist->value(JobEditor::plistKey(it.key())).toBool() == true;
                break;
            }
        }
        it.value()->setChecked(isOn);
    }
    const qint64 sessionType = job ? job->limitLoadToSessionTypeIndex().value_or(0) : 0;
    m_sessionTypeMenu->setCurrentIndex(
        sessionType >= 0 && sessionType < m_sessionTypeMenu->count() ? int(sessionType) : 0);
    for (auto it = m_fields.cbegin(); it != m_fields.cend(); ++it) {
        QString text;
        if (job) {
            switch (it.key()) {
            case JobEditor::Field::machServices:
                text = job->machServicesKey().value_or(QString());
                break;
            case JobEditor::Field::watchPaths:
                text = job->watchPath().value_or(QString());
                break;
            default:
                if (job->plist)
                    text = job->plist->value(JobEditor::plistKey(it.key()))
                               .toString()
                               .value_or(QString());
                break;
            }
        }
        if (it.value()->text() != text)
            it.value()->setText(text);
    }
    updateEnabling();
}

void AdvancedPage::updateEnabling() {
    const Bindings &bindings = Bindings::shared();
    const bool isEditable = JobList::shared().currentJob() && !bindings.isLocked();
    for (QCheckBox *box : std::as_const(m_boxes))
        box->setEnabled(isEditable);
    for (QLineEdit *field : std::as_const(m_fields))
        field->setEnabled(isEditable);
    for (QPushButton *button : std::as_const(m_chooseButtons))
        button->setEnabled(isEditable);
    // The successful-exit condition only means something for a job kept alive.
    m_boxes.value(JobEditor::Box::successfulExit)
        ->setEnabled(isEditable && m_editor.whenSwitches().isOn(WhenSwitches::Switch::keepAlive));
    m_fields.value(JobEditor::Field::userName)
        ->setEnabled(isEditable && bindings.isUserNameEnabled());
    m_fields.value(JobEditor::Field::machServices)
        ->setEnabled(isEditable && bindings.isMachServicesEnabled());
    m_sessionTypeMenu->setEnabled(isEditable && bindings.isLimitLoadToSessionTypeEnabled());
}

} // namespace Vandra

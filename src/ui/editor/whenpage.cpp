#include "ui/editor/whenpage.h"

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/keepalivetext.h"
#include "model/launchdkey.h"
#include "model/scheduleexactness.h"
#include "schedule/ruleeditormodel.h"
#include "store/jobeditor.h"
#include "support/localize.h"
#include "ui/editor/controlnames.h"
#include "ui/editor/ruleeditorwidget.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Vandra {

namespace {

QLabel *noteLabel(const QString &name, const QString &title, QWidget *parent) {
    auto *label = named(new QLabel(parent), name, title);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->hide();
    return label;
}

} // namespace

WhenPage::WhenPage(JobEditor &editor, QWidget *parent)
    : QWidget(parent)
    , m_editor(editor)
    , m_keepAliveNote(
          noteLabel(QStringLiteral("keepAliveNote"), Localize::text("Keep-alive note"), this))
    , m_scheduleWarning(
          noteLabel(QStringLiteral("scheduleWarning"), Localize::text("Schedule warning"), this))
    , m_ruleEditor(new RuleEditorWidget(editor.ruleEditor(), this)) {
    setObjectName(QStringLiteral("whenPage"));
    m_scheduleWarning->setForegroundRole(QPalette::BrightText);

    using Switch = WhenSwitches::Switch;
    const QList<std::pair<Switch, QString>> switches = {
        {Switch::runAtLoad, QStringLiteral("runAtLoadSwitch")},
        {Switch::keepAlive, QStringLiteral("keepAliveSwitch")},
        {Switch::mountedVolume, QStringLiteral("mountedVolumeSwitch")},
        {Switch::scheduled, QStringLiteral("scheduledSwitch")},
    };
    auto *layout = new QVBoxLayout(this);
    for (const auto &[which, name] : switches) {
        const QString title = WhenSwitches::title(which);
        auto *box = named(new QCheckBox(title, this), name, title);
        m_switches.insert(which, box);
        const auto kind = which; // clang 14 cannot capture a structured binding
        connect(box, &QCheckBox::clicked, this, [this, kind](bool isOn) {
            m_editor.whenSwitches().setSwitch(kind, isOn);
            updateEnabling();
            Q_EMIT edited();
        });
        layout->addWidget(box);
        if (which == Switch::keepAlive)
            layout->addWidget(m_keepAliveNote);
    }
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ruleEditorScroll"));
    scroll->setWidget(m_ruleEditor);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_scheduleWarning);

    WhenSwitches &when = m_editor.whenSwitches();
    connect(&when, &WhenSwitches::switchChanged, this, &WhenPage::showSwitch);
    RuleEditorModel &rules = m_editor.ruleEditor();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&rules, signal, this, [this] { Q_EMIT edited(); });
    connect(&rules, &QAbstractItemModel::dataChanged, this, [this] { Q_EMIT edited(); });
    connect(&rules, &RuleEditorModel::editableChanged, this, &WhenPage::updateEnabling);
    connect(&JobList::shared(), &JobList::currentJobChanged, this, [this] {
        m_editor.whenSwitches().update();
        updateEnabling();
        showFileNotes();
    });
    Bindings &bindings = Bindings::shared();
    connect(&bindings, &Bindings::isLockedChanged, this, &WhenPage::updateEnabling);
    connect(&bindings, &Bindings::isScheduledEnabledChanged, this, &WhenPage::updateEnabling);

    // The page's editor is the one saves read; it records the default rows of each kind.
    when.load();
    for (auto it = m_switches.cbegin(); it != m_switches.cend(); ++it)
        it.value()->setChecked(when.isOn(it.key()));
    updateEnabling();
    showFileNotes();
}

void WhenPage::showFileNotes() {
    const JobPtr job = JobList::shared().currentJob();
    if (!job || !job->plist) {
        setScheduleWarnings({});
        setKeepAliveNote({});
        return;
    }
    const QStringList inexact = ScheduleExactness::inexactEntries(*job->plist);
    setScheduleWarnings(inexact.isEmpty()
                            ? QStringList()
                            : QStringList{Localize::text("The rules cannot show this schedule "
                                                         "exactly. It stays as written until you "
                                                         "change the schedule; then:")} +
                                  inexact);
    // A plain true or false says all there is; conditions are spelled out.
    const PlistValue *keepAlive = job->plist->find(LaunchdKey::KeepAlive);
    setKeepAliveNote(keepAlive && keepAlive->dict()
                         ? Localize::text("Keep alive, as the file says: %1")
                               .arg(KeepAliveText::describe(*job->plist))
                         : QString());
}

void WhenPage::setScheduleWarnings(const QStringList &lines) {
    m_scheduleWarning->setText(lines.join(u'\n'));
    m_scheduleWarning->setVisible(!lines.isEmpty());
}

void WhenPage::setKeepAliveNote(const QString &text) {
    m_keepAliveNote->setText(text);
    m_keepAliveNote->setVisible(!text.isEmpty());
}

void WhenPage::showSwitch(WhenSwitches::Switch which, bool isOn) {
    if (QCheckBox *box = m_switches.value(which))
        box->setChecked(isOn);
}

void WhenPage::updateEnabling() {
    const bool isEditable = JobList::shared().currentJob() && !Bindings::shared().isLocked();
    for (QCheckBox *box : std::as_const(m_switches))
        box->setEnabled(isEditable);
    m_ruleEditor->setEnabled(isEditable && m_editor.ruleEditor().isEditable() &&
                             m_editor.whenSwitches().isOn(WhenSwitches::Switch::scheduled));
}

} // namespace Vandra

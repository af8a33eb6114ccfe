#include "ui/editor/diagnosticspage.h"

#include "model/joblist.h"
#include "store/schedulerows.h"
#include "ui/common/jobhealth.h"
#include "ui/common/severitybadge.h"
#include "ui/editor/controlnames.h"
#include "ui/editor/infoview.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace Vandra {

namespace {

constexpr int badgeSize = 16;

QLabel *wrappedLabel(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return label;
}

} // namespace

DiagnosticsPage::DiagnosticsPage(const JobStatusSource &status, JobHealth &health, QWidget *parent)
    : QWidget(parent)
    , m_health(health)
    , m_states(status)
    , m_doctor(&m_states)
    , m_summary(named(new QLabel(this), QStringLiteral("diagnosticsSummary"), tr("Summary")))
    , m_scroller(named(new QScrollArea(this), QStringLiteral("diagnosticsList"), tr("Findings")))
    , m_list(new QWidget(m_scroller))
    , m_listLayout(new QVBoxLayout(m_list)) {
    setObjectName(QStringLiteral("diagnosticsPage"));
    m_summary->setWordWrap(true);
    m_scroller->setWidgetResizable(true);
    m_scroller->setFrameShape(QFrame::NoFrame);
    m_scroller->setWidget(m_list);
    m_listLayout->setContentsMargins(0, 0, 0, 0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_scroller, 1);
    refresh();
}

void DiagnosticsPage::refresh() {
    const JobPtr &job = JobList::shared().currentJob();
    m_findings.clear();
    if (job && job->plist) {
        Job copy = InfoView::asSaved(*job);
        const RuleRows rows = ScheduleRows::forJob(*job);
        m_findings = m_doctor.examineJob(copy, &rows);
        m_health.setFindings(*job, m_findings);
    }
    if (!job || !job->plist)
        m_summary->setText(tr("The doctor examines job files; this item has none."));
    else if (m_findings.isEmpty())
        m_summary->setText(tr("The doctor finds nothing wrong with this job."));
    else if (m_findings.size() == 1)
        m_summary->setText(tr("The doctor finds one thing to look at."));
    else
        m_summary->setText(tr("The doctor finds %1 things to look at.").arg(m_findings.size()));
    showFindings();
}

void DiagnosticsPage::showFindings() {
    // Refreshes come while the user types; rows that would look the same stay, with the
    // scroll position and the focus in them.
    QStringList shown;
    for (const Finding &finding : std::as_const(m_findings)) {
        shown.append(QString::number(int(finding.severity)) + u'\n' + finding.key + u'\n' +
                     finding.explanation + u'\n' + finding.detail.join(u'\n') + u'\n' +
                     (finding.fix ? finding.fix->title : QString()));
    }
    if (shown == m_shown && m_listLayout->count() > 0)
        return;
    m_shown = shown;
    while (QLayoutItem *item = m_listLayout->takeAt(0)) {
        // A fix button may be the one whose click led here: its row goes when the click is
        // over, and out of the page at once, so that the new rows alone carry their names.
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->setParent(nullptr);
            widget->deleteLater();
        }
        delete item;
    }
    for (qsizetype index = 0; index < m_findings.size(); ++index)
        m_listLayout->addWidget(row(index));
    m_listLayout->addStretch(1);
}

QWidget *DiagnosticsPage::row(qsizetype index) {
    const Finding &finding = m_findings.at(index);
    const QString number = QString::number(index);
    const QString severity = SeverityBadge::title(finding.severity);
    auto *frame = new QFrame(m_list);
    frame->setObjectName(QStringLiteral("finding") + number);
    frame->setFrameShape(QFrame::StyledPanel);

    auto *badge = named(new QLabel(frame), QStringLiteral("findingSeverity") + number, severity);
    badge->setPixmap(SeverityBadge::icon(finding.severity).pixmap(badgeSize, badgeSize));
    badge->setToolTip(severity);
    badge->setAlignment(Qt::AlignTop);
    auto *title = named(new QLabel(finding.key.isEmpty() ? tr("The file") : finding.key, frame),
                        QStringLiteral("findingKey") + number, tr("Key"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    auto *explanation = named(wrappedLabel(finding.explanation, frame),
                              QStringLiteral("findingExplanation") + number, severity);

    auto *text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(explanation);
    if (!finding.detail.isEmpty()) {
        auto *detail = named(wrappedLabel(finding.detail.join(u'\n'), frame),
                             QStringLiteral("findingDetail") + number, tr("Details"));
        detail->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        text->addWidget(detail);
    }
    auto *layout = new QHBoxLayout(frame);
    layout->addWidget(badge, 0, Qt::AlignTop);
    layout->addLayout(text, 1);
    if (finding.fix) {
        auto *button = named(new QPushButton(finding.fix->title, frame),
                             QStringLiteral("fixButton") + number, finding.fix->title);
        button->setToolTip(tr("Changes the job; save it to keep the change."));
        connect(button, &QPushButton::clicked, this, [this, index] { applyFix(index); });
        layout->addWidget(button, 0, Qt::AlignTop);
    }
    return frame;
}

bool DiagnosticsPage::applyFix(qsizetype index) {
    const JobPtr current = JobList::shared().currentJob();
    if (!current || index < 0 || index >= m_findings.size() || !m_findings.at(index).fix)
        return false;
    // A fixed job takes the current one's place as a raw edit does, so every page shows
    // it afresh, and the list keeps the stored job until the save.
    auto repaired = std::make_shared<Job>(*current);
    const RuleRows rows = ScheduleRows::forJob(*current);
    if (!JobDoctor::applyFix(*repaired, *m_findings.at(index).fix, &rows))
        return false;
    JobList::shared().setCurrentJob(repaired);
    JobList::shared().markChanged(Change::generic);
    refresh();
    Q_EMIT fixed();
    return true;
}

} // namespace Vandra

#pragma once

#include "store/finding.h"
#include "store/jobdoctor.h"
#include "ui/common/statusstatesource.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace Vandra {

class JobHealth;

// The job doctor's findings on the current job as a save would write it: each with its
// severity, the key it concerns, its explanation and, where there is one, a button that
// applies its fix as an edit of the job, which the user then saves or discards.
class DiagnosticsPage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DiagnosticsPage)

public:
    // The doctor judges the job's state by status; health takes the findings for the badges.
    DiagnosticsPage(const JobStatusSource &status, JobHealth &health, QWidget *parent = nullptr);

    // Examines the current job again and shows what the doctor finds.
    void refresh();
    [[nodiscard]] const Findings &findings() const { return m_findings; }
    // Applies the fix of the finding at index to the current job; false when it has none or
    // the result would be no job.
    bool applyFix(qsizetype index);

Q_SIGNALS:
    // A fix changed the current job.
    void fixed();

private:
    void showFindings();
    [[nodiscard]] QWidget *row(qsizetype index);

    JobHealth &m_health;
    StatusStateSource m_states;
    JobDoctor m_doctor;
    Findings m_findings;
    // What the rows show, one text per finding, to tell when they must be made again.
    QStringList m_shown;
    QLabel *m_summary;
    QScrollArea *m_scroller;
    QWidget *m_list;
    QVBoxLayout *m_listLayout;
};

} // namespace Vandra

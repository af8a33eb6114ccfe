#pragma once

#include "actions/helperconnection.h"
#include "actions/logsession.h"
#include "model/job.h"
#include "ui/sheets/sheetdialog.h"

#include <QTimer>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStackedWidget;
class QTableView;

namespace Vandra {

class ActionController;
class JobEditor;
class LogTableModel;

// The log lines that mention a job, over a chosen stretch of recent time, as a table that
// sorts, filters and copies. The helper's answer comes back through the editor, the action
// controller's delegate; when the table is empty the sheet says why.
class LogSheet final : public SheetDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LogSheet)

public:
    // Why the table has no rows.
    enum class Reason {
        noLabel,     // the job has no label to search for
        searching,   // the helper has not answered yet
        noEntries,   // the helper found nothing
        filtered,    // the filter hides every row
        refused,     // the helper answered with an error
        unreachable, // no helper could be reached
        cancelled,   // the user stopped the search
    };

    // editor: where the controller hands log replies and failures; none when the caller
    // routes them to logEntriesArrived() and helperFailed() itself.
    LogSheet(const JobPtr &job, ActionController &controller, JobEditor *editor,
             QWidget *parent = nullptr);
    ~LogSheet() override;

    [[nodiscard]] LogSession &session() { return m_session; }
    [[nodiscard]] Reason reason() const { return m_reason; }
    // The empty table's text for a reason; hasJournal says whether this machine has a
    // journal to search besides the job's output files.
    [[nodiscard]] static QString emptyText(Reason reason, bool hasJournal);
    [[nodiscard]] static bool hasJournal();

    void fetch();
    void cancel();
    void logEntriesArrived(const QList<LogEntry> &entries);
    void helperFailed();
    // Puts the selected rows on the clipboard, or beeps when none is selected.
    void copySelection();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void stateChanged(LogSession::State state);
    void contentChanged();
    void filterEdited(const QString &text);
    void refreshOrCancel();

    JobPtr m_job;
    LogSession m_session;
    LogTableModel *m_model;
    Reason m_reason = Reason::noEntries;
    bool m_hasFetched = false;
    QLabel *m_title;
    QComboBox *m_lengthMenu;
    QComboBox *m_periodMenu;
    QLineEdit *m_filterField;
    QProgressBar *m_progress;
    QPushButton *m_refreshButton;
    QStackedWidget *m_pages;
    QTableView *m_table;
    QLabel *m_emptyLabel;
    QAction *m_copyAction;
    // Progress shows only when the answer takes longer than a moment.
    QTimer m_progressDelay;
};

} // namespace Vandra

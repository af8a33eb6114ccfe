#pragma once

#include "model/job.h"
#include "ui/sheets/sheetdialog.h"

class QLabel;
class QPlainTextEdit;

namespace Vandra {

class NotesStore;

// The user's note on a job file. Every change is kept by the notes store, which writes the
// file once typing pauses; closing the sheet writes what is still pending.
class NotesSheet final : public SheetDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotesSheet)

public:
    NotesSheet(const JobPtr &job, NotesStore &store, QWidget *parent = nullptr);
    ~NotesSheet() override;

    // Shows the note of another job, or an empty disabled field for none or one without a
    // file.
    void showJob(const JobPtr &job);

protected:
    void done(int result) override;

private:
    void noteEdited();

    NotesStore &m_store;
    std::optional<QString> m_path;
    QLabel *m_title;
    QPlainTextEdit *m_field;
    bool m_isShowing = false;
};

} // namespace Vandra

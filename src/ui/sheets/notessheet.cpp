#include "ui/sheets/notessheet.h"

#include "store/notesstore.h"
#include "support/localize.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace Vandra {

NotesSheet::NotesSheet(const JobPtr &job, NotesStore &store, QWidget *parent)
    : SheetDialog(QStringLiteral("notesSheet"), tr("Notes"), parent)
    , m_store(store)
    , m_title(new QLabel(this))
    , m_field(new QPlainTextEdit(this)) {
    name(m_title, QStringLiteral("notesTitle"), tr("Notes"));
    name(m_field, QStringLiteral("notesField"), tr("Note"));
    // Return and Tab type a new line and a tab; Ctrl+Tab leaves the field.
    m_field->setTabChangesFocus(false);
    m_field->setPlaceholderText(tr("Notes on this job file"));
    QPushButton *doneButton = button(QStringLiteral("doneButton"), Localize::done());

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_field, 1);
    layout->addLayout(buttons);
    resize(480, 360);

    connect(doneButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_field, &QPlainTextEdit::textChanged, this, &NotesSheet::noteEdited);
    showJob(job);
    m_field->setFocus();
}

NotesSheet::~NotesSheet() {
    m_store.flush();
}

void NotesSheet::showJob(const JobPtr &job) {
    m_path = job && job->url ? job->url : std::nullopt;
    const QString title = jobTitle(tr("Notes"), job);
    m_title->setText(title);
    setWindowTitle(title);
    m_isShowing = true;
    m_field->setPlainText(m_path ? m_store.note(*m_path) : QString());
    m_isShowing = false;
    m_field->setEnabled(m_path.has_value());
}

void NotesSheet::done(int result) {
    // A note typed just before closing reaches the file now, not at the next change.
    m_store.flush();
    SheetDialog::done(result);
}

void NotesSheet::noteEdited() {
    if (m_isShowing || !m_path)
        return;
    m_store.setNote(*m_path, m_field->toPlainText());
}

} // namespace Vandra

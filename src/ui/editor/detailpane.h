#pragma once

#include "model/job.h"

#include <QWidget>

class QLabel;
class QStackedWidget;
class QsciLexerXML;
class QsciScintilla;

// The right-hand side of the window: the current job's kind, label, command and file text,
// read-only for now.
class DetailPane final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DetailPane)

public:
    explicit DetailPane(QWidget *parent = nullptr);

    void showJob(const JobPtr &job);
    [[nodiscard]] const JobPtr &job() const { return m_job; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    JobPtr m_job;
    QStackedWidget *m_pages;
    QLabel *m_placeholder;
    QLabel *m_kindIcon;
    QLabel *m_kindLabel;
    QLabel *m_nameLabel;
    QLabel *m_runLabel;
    QLabel *m_pathLabel;
    QsciScintilla *m_fileText;
    QsciLexerXML *m_lexer;
};

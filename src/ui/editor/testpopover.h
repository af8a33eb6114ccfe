#pragma once

#include "model/job.h"

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QProgressBar;

namespace Vandra {

class ActionController;
class TestRun;

// The popover of the Test button: runs the job's command once through the helpers and shows
// what it printed. Closing it (Escape, a click elsewhere, the Test button again) unloads the
// temporary job.
class TestPopover final : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TestPopover)

public:
    TestPopover(ActionController &controller, QWidget *parent = nullptr);
    ~TestPopover() override;

    // Opens below anchor and tests job once it is on screen.
    void showAt(QWidget *anchor, const JobPtr &job);
    // The output of the test from the helper's reply.
    void showOutput(const QString &output);

    [[nodiscard]] TestRun &testRun() const { return *m_testRun; }

Q_SIGNALS:
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showText(const QString &text, bool isNoError);

    TestRun *m_testRun;
    QProgressBar *m_progress;
    QPlainTextEdit *m_output;
    QLabel *m_noError;
};

} // namespace Vandra

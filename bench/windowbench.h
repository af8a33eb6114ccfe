#pragma once

#include "idleclock.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

class QWidget;

namespace Vandra {

// Drives the main window through what a user waits for and prints what each step cost, as
// JSON on standard output: the window until it shows its jobs; in each mode the switch to
// it, then a word typed into the filter field and erased again, one key at a time; with the
// tree mode, switching from it to the list mode and back, several times. It finds the window's
// parts by their object names.
class WindowBench final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowBench)

public:
    // modes: the modes to take the steps in, by name ("grid", "tree", "list", "timeline").
    // isVerbose: each step's wall-clock time on standard error as it is taken.
    WindowBench(QWidget &window, const QStringList &modes, int repeats, bool isVerbose,
                QObject *parent = nullptr);

    // Once the event loop runs: waits for the jobs, then takes every step and ends the loop.
    void start();

private:
    struct Step {
        QString name;
        // The item view whose model shows the step's result.
        QString viewName;
        std::function<void()> act;
    };

    void addSteps(const QStringList &modes, int repeats);
    void jobsShown();
    void runNext();
    void finishStep();
    void print() const;

    void clickModeButton(const QString &mode);
    void typeIntoFilter(int key, const QString &text);

    QWidget &m_window;
    bool m_isVerbose;
    IdleClock m_clock;
    QList<Step> m_steps;
    qsizetype m_next = 0;
    QString m_startMode = QStringLiteral("tree");
    QList<std::pair<QString, StepCost>> m_costs;
};

} // namespace Vandra

#include "windowbench.h"

#include "model/joblist.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>

using namespace Vandra;

namespace {

// How long a step may go on after its action before it is judged: longer than any
// deferred refilter, short enough for a run of many steps.
constexpr int settleMs = 150;
constexpr int recheckMs = 50;

// Typed one key at a time: every single character matches nearly every job's text, so the
// first keystrokes keep the whole list and the last ones narrow it to a few hundred.
const QString word = QStringLiteral("mail");

double milliseconds(qint64 ns) {
    return double(ns) / 1e6;
}

} // namespace

WindowBench::WindowBench(QWidget &window, const QStringList &modes, int repeats, bool isVerbose,
                         QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_isVerbose(isVerbose) {
    m_clock.start(nullptr, nullptr);
    addSteps(modes, repeats);
}

void WindowBench::addSteps(const QStringList &modes, int repeats) {
    for (const QString &mode : modes) {
        const QString view = mode + QStringLiteral("View");
        m_steps.append(
            {QStringLiteral("show ") + mode, view, [this, mode] { clickModeButton(mode); }});
        for (int repeat = 0; repeat < repeats; ++repeat) {
            for (const QChar c : word) {
                const int key = Qt::Key_A + (c.unicode() - u'a');
                m_steps.append({QStringLiteral("type in ") + mode, view,
                                [this, key, c] { typeIntoFilter(key, QString(c)); }});
            }
            for (qsizetype erased = 0; erased < word.size(); ++erased) {
                m_steps.append({QStringLiteral("erase in ") + mode, view,
                                [this] { typeIntoFilter(Qt::Key_Backspace, QString()); }});
            }
        }
    }
    // The window starts in the mode it had last; the first switch comes from a mode that is
    // not measured, and not the timeline, the slowest to build.
    for (const QString &mode : {QStringLiteral("list"), QStringLiteral("grid")}) {
        if (!modes.contains(mode)) {
            m_startMode = mode;
            break;
        }
    }
    if (!modes.contains(QStringLiteral("tree")))
        return;
    // From the tree mode, where the modes above end when it is the last.
    for (int repeat = 0; repeat < repeats; ++repeat) {
        m_steps.append({QStringLiteral("tree to list"), QStringLiteral("listView"),
                        [this] { clickModeButton(QStringLiteral("list")); }});
        m_steps.append({QStringLiteral("list to tree"), QStringLiteral("treeView"),
                        [this] { clickModeButton(QStringLiteral("tree")); }});
    }
}

void WindowBench::start() {
    // The jobs may come in later, from another thread.
    connect(&JobList::shared(), &JobList::jobsUpdated, this, [this] { m_clock.markChanged(); });
    if (!JobList::shared().jobs().isEmpty())
        m_clock.markChanged();
    QTimer::singleShot(recheckMs, this, &WindowBench::jobsShown);
}

void WindowBench::jobsShown() {
    const std::optional<StepCost> cost = m_clock.settled();
    if (JobList::shared().jobs().isEmpty() || !cost) {
        QTimer::singleShot(recheckMs, this, &WindowBench::jobsShown);
        return;
    }
    m_costs.append({QStringLiteral("jobs shown"), *cost});
    clickModeButton(m_startMode);
    QTimer::singleShot(settleMs, this, &WindowBench::runNext);
}

void WindowBench::runNext() {
    if (m_next >= m_steps.size()) {
        print();
        QCoreApplication::exit(0);
        return;
    }
    const Step &step = m_steps.at(m_next);
    auto *view = m_window.findChild<QAbstractItemView *>(step.viewName);
    m_clock.start(view ? view->model() : nullptr, view ? view->viewport() : nullptr);
    step.act();
    QTimer::singleShot(settleMs, this, &WindowBench::finishStep);
}

void WindowBench::finishStep() {
    const std::optional<StepCost> cost = m_clock.settled();
    if (!cost) {
        QTimer::singleShot(recheckMs, this, &WindowBench::finishStep);
        return;
    }
    m_costs.append({m_steps.at(m_next).name, *cost});
    if (m_isVerbose) {
        std::fprintf(stderr, "%s: %.1f ms\n", qPrintable(m_steps.at(m_next).name),
                     milliseconds(cost->wallNs));
    }
    ++m_next;
    runNext();
}

void WindowBench::clickModeButton(const QString &mode) {
    if (auto *button = m_window.findChild<QAbstractButton *>(mode + QStringLiteral("ModeButton")))
        button->click();
    else
        std::fprintf(stderr, "vandra-bench-window: no button for the %s mode\n", qPrintable(mode));
}

void WindowBench::typeIntoFilter(int key, const QString &text) {
    auto *field = m_window.findChild<QLineEdit *>(QStringLiteral("filterField"));
    if (!field) {
        std::fprintf(stderr, "vandra-bench-window: no filter field\n");
        return;
    }
    field->setFocus();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

void WindowBench::print() const {
    QJsonObject steps;
    for (const auto &[name, cost] : m_costs) {
        QJsonArray samples = steps.value(name).toArray();
        samples.append(QJsonArray{milliseconds(cost.wallNs), milliseconds(cost.cpuNs)});
        steps.insert(name, samples);
    }
    const QJsonObject result{{QStringLiteral("jobs"), JobList::shared().jobs().size()},
                             {QStringLiteral("steps"), steps}};
    std::fputs(QJsonDocument(result).toJson(QJsonDocument::Compact).constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

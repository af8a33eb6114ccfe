#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

#include <optional>

class QAbstractItemModel;
class QWidget;

namespace Vandra {

// What one measured step cost: the wall-clock and the processor time of the whole process
// (all its threads), in nanoseconds.
struct StepCost {
    qint64 wallNs = 0;
    qint64 cpuNs = 0;
};

// Tells when the window has finished reacting to something: the moments the event loop
// is about to wait for new events, with nothing posted left, and the moments the watched
// model last changed its rows or the watched widget was last painted. A step is done at the
// first idle moment after its start and after the last such change, so work that a timer or
// a thread hands back later, and the repaint the platform defers, count too.
class IdleClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdleClock)

public:
    explicit IdleClock(QObject *parent = nullptr);

    // Starts a step: forgets the moments so far and watches model and painted (may be none).
    void start(QAbstractItemModel *model, QWidget *painted);
    // Counts as a change of the model, for changes that are not the model's.
    void markChanged();
    // The step's cost when the loop has been idle after its last change, or none while
    // work may still be under way.
    [[nodiscard]] std::optional<StepCost> settled() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    [[nodiscard]] StepCost now() const;
    void becameIdle();

    QElapsedTimer m_clock;
    StepCost m_start;
    std::optional<StepCost> m_lastChange;
    QList<StepCost> m_idle;
    QPointer<QWidget> m_painted;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace Vandra

#include "idleclock.h"

#include <QAbstractEventDispatcher>
#include <QAbstractItemModel>
#include <QEvent>
#include <QWidget>

#include <time.h>

using namespace Vandra;

IdleClock::IdleClock(QObject *parent)
    : QObject(parent) {
    m_clock.start();
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &IdleClock::becameIdle);
}

StepCost IdleClock::now() const {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return {m_clock.nsecsElapsed(), qint64(cpu.tv_sec) * 1'000'000'000 + cpu.tv_nsec};
}

void IdleClock::start(QAbstractItemModel *model, QWidget *painted) {
    for (const QMetaObject::Connection &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    if (m_painted)
        m_painted->removeEventFilter(this);
    m_painted = painted;
    if (painted)
        painted->installEventFilter(this);
    if (model) {
        const auto changed = [this] { markChanged(); };
        m_connections = {
            connect(model, &QAbstractItemModel::modelReset, this, changed),
            connect(model, &QAbstractItemModel::layoutChanged, this, changed),
            connect(model, &QAbstractItemModel::rowsInserted, this, changed),
            connect(model, &QAbstractItemModel::rowsRemoved, this, changed),
        };
    }
    m_idle.clear();
    m_lastChange.reset();
    m_start = now();
}

bool IdleClock::eventFilter(QObject *watched, QEvent *event) {
    // The loop cannot go idle before the paint handler returns.
    if (event->type() == QEvent::Paint)
        markChanged();
    return QObject::eventFilter(watched, event);
}

void IdleClock::becameIdle() {
    m_idle.append(now());
}

void IdleClock::markChanged() {
    m_lastChange = now();
}

std::optional<StepCost> IdleClock::settled() const {
    const qint64 after = m_lastChange ? m_lastChange->wallNs : m_start.wallNs;
    for (const StepCost &idle : m_idle) {
        if (idle.wallNs >= after)
            return StepCost{idle.wallNs - m_start.wallNs, idle.cpuNs - m_start.cpuNs};
    }
    return std::nullopt;
}

#pragma once

#include <QObject>

class QSocketNotifier;

namespace Vandra {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the event loop, so that the agent
// ends through its normal path (the session ending sends one of them).
class TerminationSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    // One per process.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    [[nodiscard]] bool isValid() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received();

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Vandra

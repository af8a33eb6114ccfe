#pragma once

#include <QObject>
#include <QStringList>

namespace Vandra {

class LocalListener;

// Keeps the program to one instance per user (per root): the first one listens on a local
// socket, and a later one hands its arguments (job URLs) over it and exits.
class SingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    explicit SingleInstance(const QString &socketPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // The socket of the locations in use.
    [[nodiscard]] static QString defaultSocketPath();

    // Starts listening; false when another instance already listens. A socket file left by
    // an instance that is gone is replaced.
    [[nodiscard]] bool listen();
    // Hands messages to the instance that listens at socketPath; false when none answers.
    [[nodiscard]] static bool send(const QString &socketPath, const QStringList &messages,
                                   int timeoutMs = 3000);

Q_SIGNALS:
    // Another instance started with these messages (perhaps none: it only wants the window).
    void messagesReceived(const QStringList &messages);

private:
    void accept(int descriptor);

    QString m_socketPath;
    LocalListener *m_listener = nullptr;
    int m_connectionCount = 0;
};

} // namespace Vandra

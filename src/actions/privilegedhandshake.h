#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class QProcess;
class QTimer;

namespace Vandra {

// Starts the privileged helper through the launcher and reads its two lines: the endpoint
// socket path, then the token in 64 lower-case hexadecimal digits.
class PrivilegedHandshake final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrivilegedHandshake)

public:
    struct Reply {
        std::optional<QString> endpoint;
        std::optional<QByteArray> authData;
        // False when the helper refused or failed; true when the user dismissed the
        // authorization, which needs no alert.
        bool success = false;
    };

    // program and arguments are the helper's; launcher is put in front unless empty.
    PrivilegedHandshake(const QStringList &launcher, const QString &program,
                        const QStringList &arguments, int timeout, QObject *parent = nullptr);
    ~PrivilegedHandshake() override;

    void start();
    // The running helper, after a successful reply; the caller owns it from then on.
    [[nodiscard]] QProcess *takeProcess();

    // The token from its printed form; none unless exactly 64 lower-case hex digits.
    [[nodiscard]] static std::optional<QByteArray> parseToken(const QByteArray &line);

Q_SIGNALS:
    // Exactly one of these, once.
    void replied(const PrivilegedHandshake::Reply &reply);
    // The launcher could not be run at all.
    void failed(const QString &error);

private:
    void onOutput();
    void finish(const Reply &reply);

    QProcess *m_process = nullptr;
    QTimer *m_timer = nullptr;
    QByteArray m_output;
    bool m_isDone = false;
};

} // namespace Vandra

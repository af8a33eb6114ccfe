#pragma once

#include <QObject>
#include <QString>

#include <sys/types.h>

class QSocketNotifier;

namespace Vandra {

// A listening local socket that keeps listening: when the process runs out of descriptors
// the waiting connection is taken and closed at once (a descriptor is kept in reserve for
// that), and a socket the kernel reports as broken is made again at the same path.
// QLocalServer, by contrast, closes itself for good on the first failed accept.
class LocalListener final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LocalListener)

public:
    explicit LocalListener(QObject *parent = nullptr);
    ~LocalListener() override;

    // Listens at path with the socket file's mode; false with a message, also when anything
    // is at path already.
    bool listen(const QString &path, mode_t mode, QString *error);
    // Stops listening and removes the socket file.
    void close();
    [[nodiscard]] bool isListening() const { return m_fd >= 0; }
    [[nodiscard]] const QString &path() const { return m_path; }

    // The soft limit of open descriptors of this process.
    [[nodiscard]] static int descriptorLimit();

Q_SIGNALS:
    // A connected socket; the receiver owns the descriptor and closes it.
    void connected(int descriptor);
    // A connection was closed unanswered because no descriptor was left.
    void refused();

private:
    bool open(QString *error);
    void onReadable();
    void reopen();

    QString m_path;
    mode_t m_mode = 0600;
    int m_fd = -1;
    int m_reserve = -1;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace Vandra

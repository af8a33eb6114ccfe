#include "platform/locallistener.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace Vandra {

namespace {

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

int openReserve() {
    return ::open("/dev/null", O_RDONLY | O_CLOEXEC);
}

} // namespace

LocalListener::LocalListener(QObject *parent)
    : QObject(parent) {}

LocalListener::~LocalListener() {
    close();
}

int LocalListener::descriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return 1 << 20;
    return int(qMin<rlim_t>(limit.rlim_cur, 1 << 20));
}

bool LocalListener::listen(const QString &path, mode_t mode, QString *error) {
    close();
    m_path = path;
    m_mode = mode;
    return open(error);
}

bool LocalListener::open(QString *error) {
    const QByteArray encoded = QFile::encodeName(m_path);
    sockaddr_un address{};
    if (encoded.isEmpty() || size_t(encoded.size()) >= sizeof address.sun_path) {
        *error = QStringLiteral("the socket path %1 is empty or too long").arg(m_path);
        return false;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = QStringLiteral("cannot make a socket: %1").arg(systemError(errno));
        return false;
    }
    // Nobody can connect before listen(), so the mode is right before the first client.
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        ::chmod(encoded.constData(), m_mode) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        const int code = errno;
        ::close(fd);
        *error = QStringLiteral("cannot listen at %1: %2").arg(m_path, systemError(code));
        return false;
    }
    m_fd = fd;
    if (m_reserve < 0)
        m_reserve = openReserve();
    m_notifier = new QSocketNotifier(qintptr(fd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalListener::onReadable);
    return true;
}

void LocalListener::close() {
    if (m_fd < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(QFile::encodeName(m_path).constData());
    if (m_reserve >= 0)
        ::close(m_reserve);
    m_reserve = -1;
}

void LocalListener::onReadable() {
    // A bounded number per wake-up, so a flood of clients cannot hold the event loop.
    for (int i = 0; i < 64 && m_fd >= 0; ++i) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            Q_EMIT connected(fd);
            continue;
        }
        switch (errno) {
        case EINTR:
        case ECONNABORTED:
        case EPROTO:
            continue;
        case EAGAIN:
            return;
        case EMFILE:
        case ENFILE:
        case ENOBUFS:
        case ENOMEM: {
            // Out of descriptors: the reserved one takes the waiting client, which is closed,
            // so that it learns at once instead of waiting in the queue for good.
            if (m_reserve >= 0) {
                ::close(m_reserve);
                m_reserve = -1;
            }
            const int waiting = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (waiting >= 0) {
                ::close(waiting);
                Q_EMIT refused();
            }
            m_reserve = openReserve();
            if (m_reserve < 0 || waiting < 0) {
                // Nothing to be done until a descriptor is free again; do not spin meanwhile.
                m_notifier->setEnabled(false);
                QTimer::singleShot(100, this, [this] {
                    if (m_reserve < 0)
                        m_reserve = openReserve();
                    if (m_notifier)
                        m_notifier->setEnabled(true);
                });
                return;
            }
            continue;
        }
        default:
            reopen();
            return;
        }
    }
}

void LocalListener::reopen() {
    const QString path = m_path;
    close();
    QString error;
    if (!listen(path, m_mode, &error))
        QTimer::singleShot(1000, this, [this, path] {
            QString again;
            if (m_fd < 0 && !listen(path, m_mode, &again))
                reopen();
        });
}

} // namespace Vandra

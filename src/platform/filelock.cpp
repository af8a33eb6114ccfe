#include "platform/filelock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sys/file.h>

namespace Vandra {

FileLock::~FileLock() {
    unlock();
}

bool FileLock::tryLock(int timeoutMs, QString *error) {
    if (m_fd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot open the lock %1: %2")
                     .arg(m_path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            describeHolder();
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (deadline.hasExpired()) {
            errno = EWOULDBLOCK;
            break;
        }
        QThread::msleep(5);
    }
    const int code = errno;
    ::close(fd);
    *error = code == EWOULDBLOCK ? QStringLiteral("%1 is locked by another process").arg(m_path)
                                 : QStringLiteral("cannot lock %1: %2")
                                       .arg(m_path, QString::fromLocal8Bit(std::strerror(code)));
    return false;
}

void FileLock::describeHolder() const {
    // The lines QLockFile writes, so that tools that read those find the holder here too.
    const QByteArray text = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                            QCoreApplication::applicationName().toUtf8() + '\n' +
                            QSysInfo::machineHostName().toUtf8() + '\n';
    if (::ftruncate(m_fd, 0) != 0)
        return;
    [[maybe_unused]] const ssize_t written =
        ::pwrite(m_fd, text.constData(), size_t(text.size()), 0);
}

void FileLock::unlock() {
    if (m_fd < 0)
        return;
    // Closing the descriptor releases the lock; the file stays for the next one.
    ::close(m_fd);
    m_fd = -1;
}

} // namespace Vandra

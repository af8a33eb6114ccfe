#include "platform/confineddir.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <utility>

namespace Vandra {

namespace {

constexpr int folderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

bool isPlainName(const QByteArray &name) {
    return !name.isEmpty() && !name.contains('/') && name != "." && name != "..";
}

// The kernel's own check, where it has one: -1 with ENOSYS when it has not.
int openWithoutLinks(int base, const QByteArray &path, bool isBeneath) {
    open_how how{};
    how.flags = folderFlags;
    how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_MAGICLINKS | (isBeneath ? RESOLVE_BENEATH : 0);
    for (;;) {
        const long fd = ::syscall(SYS_openat2, base, path.constData(), &how, sizeof how);
        if (fd >= 0 || errno != EAGAIN)
            return int(fd);
    }
}

// The same, one component at a time, for kernels without openat2 (and where a sandbox
// forbids it).
int walkWithoutLinks(int base, const QByteArray &path) {
    const QList<QByteArray> components = path.split('/');
    int current =
        ::openat(base, path.startsWith('/') ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (qsizetype i = 0; current >= 0 && i < components.size(); ++i) {
        const QByteArray &component = components.at(i);
        if (component.isEmpty())
            continue;
        if (component == "." || component == "..") {
            ::close(current);
            errno = EXDEV;
            return -1;
        }
        const bool isLast = i == components.size() - 1;
        const int next =
            ::openat(current, component.constData(),
                     isLast ? folderFlags : (O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        const int code = errno;
        ::close(current);
        errno = code;
        current = next;
    }
    if (current >= 0 && (components.isEmpty() || components.constLast().isEmpty())) {
        // The path ended with a slash: reopen the last folder so that it can be synced.
        const int reopened = ::openat(current, ".", folderFlags);
        ::close(current);
        current = reopened;
    }
    return current;
}

int openFolder(int base, const QByteArray &path, bool isBeneath) {
    const int fd = openWithoutLinks(base, path, isBeneath);
    if (fd >= 0 || (errno != ENOSYS && errno != EPERM))
        return fd;
    return walkWithoutLinks(base, path);
}

QString folderError(const QString &path, int code) {
    if (code == ELOOP || code == ENOTDIR || code == EXDEV)
        return QStringLiteral("%1 is not a folder reached without links").arg(path);
    return QStringLiteral("cannot open %1: %2").arg(path, systemError(code));
}

} // namespace

ConfinedDir::ConfinedDir(ConfinedDir &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

ConfinedDir &ConfinedDir::operator=(ConfinedDir &&other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

ConfinedDir::~ConfinedDir() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<ConfinedDir> ConfinedDir::open(const QString &absolutePath, QString *error) {
    const QByteArray path = QFile::encodeName(absolutePath);
    if (!path.startsWith('/') || path.contains('\0')) {
        *error = QStringLiteral("%1 is not an absolute path").arg(absolutePath);
        return std::nullopt;
    }
    const int fd = openFolder(AT_FDCWD, path, false);
    if (fd < 0) {
        *error = folderError(absolutePath, errno);
        return std::nullopt;
    }
    return ConfinedDir(fd);
}

std::optional<ConfinedDir> ConfinedDir::openBeneath(const QString &relativePath,
                                                    QString *error) const {
    const QByteArray path = QFile::encodeName(relativePath);
    if (path.startsWith('/') || path.contains('\0')) {
        *error = QStringLiteral("%1 is not a relative path").arg(relativePath);
        return std::nullopt;
    }
    const int fd = ::openat(m_fd, ".", folderFlags);
    if (fd < 0) {
        *error = folderError(relativePath, errno);
        return std::nullopt;
    }
    if (path.isEmpty())
        return ConfinedDir(fd);
    const int beneath = openFolder(fd, path, true);
    const int code = errno;
    ::close(fd);
    if (beneath < 0) {
        *error = folderError(relativePath, code);
        return std::nullopt;
    }
    return ConfinedDir(beneath);
}

bool ConfinedDir::writeFile(const QString &name, const QByteArray &bytes, mode_t mode,
                            QString *error) const {
    return AtomicFile::write(m_fd, name, bytes, mode, error);
}

bool ConfinedDir::removeFile(const QString &name, QString *error) const {
    const QByteArray encoded = QFile::encodeName(name);
    if (!isPlainName(encoded)) {
        *error = QStringLiteral("%1 is not a file name").arg(name);
        return false;
    }
    // Without AT_REMOVEDIR a folder is refused by the kernel itself, whatever is put there.
    if (::unlinkat(m_fd, encoded.constData(), 0) == 0 || errno == ENOENT)
        return true;
    *error = QStringLiteral("cannot remove %1: %2").arg(name, systemError(errno));
    return false;
}

std::optional<QByteArray> ConfinedDir::readFile(const QString &name, qint64 limit,
                                                QString *error) const {
    const QByteArray encoded = QFile::encodeName(name);
    if (!isPlainName(encoded)) {
        *error = QStringLiteral("%1 is not a file name").arg(name);
        return std::nullopt;
    }
    // Without blocking, so that a pipe put there cannot stall the reader.
    const int fd =
        ::openat(m_fd, encoded.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot read %1: %2").arg(name, systemError(errno));
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("%1 is not a plain file").arg(name);
        return std::nullopt;
    }
    QByteArray bytes(qsizetype(qMin<qint64>(info.st_size, limit) + 1), Qt::Uninitialized);
    qsizetype size = 0;
    for (;;) {
        if (size == bytes.size()) {
            if (size > limit)
                break;
            bytes.resize(qsizetype(qMin<qint64>(qint64(size) * 2, limit + 1)));
        }
        const ssize_t count = ::read(fd, bytes.data() + size, size_t(bytes.size() - size));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count < 0) {
                const int code = errno;
                ::close(fd);
                *error = QStringLiteral("cannot read %1: %2").arg(name, systemError(code));
                return std::nullopt;
            }
            break;
        }
        size += count;
    }
    ::close(fd);
    if (size > limit) {
        *error = QStringLiteral("%1 is larger than %2 bytes").arg(name).arg(limit);
        return std::nullopt;
    }
    bytes.truncate(size);
    return bytes;
}

int ConfinedDir::openOutput(const QString &name, QString *error) const {
    const QByteArray encoded = QFile::encodeName(name);
    if (!isPlainName(encoded)) {
        *error = QStringLiteral("%1 is not a file name").arg(name);
        return -1;
    }
    const int fd = ::openat(m_fd, encoded.constData(),
                            O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = QStringLiteral("cannot open %1: %2").arg(name, systemError(errno));
        return -1;
    }
    // Emptied only once it is known to be a plain file of its own, not a second name of
    // another file.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
        ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        *error = QStringLiteral("%1 is not a plain file of its own").arg(name);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace Vandra

#include "platform/atomicfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace Vandra {

namespace {

class Text {
    Q_DECLARE_TR_FUNCTIONS(AtomicFile)
};

QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

QByteArray temporaryPrefix(const QByteArray &name) {
    return '.' + name + AtomicFile::temporaryMark;
}

// Creates a temporary that did not exist before, so nothing put in its place is opened.
int createTemporary(int folder, const QByteArray &name, QByteArray *temporary) {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = temporaryPrefix(name);
        for (int i = 0; i < 6; ++i)
            candidate += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
        const int fd = ::openat(folder, candidate.constData(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            *temporary = candidate;
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, const QByteArray &bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            if (count == 0)
                errno = ENOSPC;
            return false;
        }
        done += count;
    }
    return true;
}

// Some file systems cannot sync a folder; that is no failure of the write.
bool syncFolder(int folder) {
    return ::fsync(folder) == 0 || errno == EINVAL || errno == EROFS;
}

} // namespace

bool AtomicFile::write(int folder, const QString &name, const QByteArray &bytes, mode_t mode,
                       QString *error) {
    const QByteArray encoded = QFile::encodeName(name);
    const auto fail = [&](int code) {
        if (error)
            *error = Text::tr("Cannot write %1: %2.").arg(name, systemError(code));
        return false;
    };
    if (encoded.isEmpty() || encoded.contains('/') || encoded == "." || encoded == "..")
        return fail(EINVAL);
    QByteArray temporary;
    const int fd = createTemporary(folder, encoded, &temporary);
    if (fd < 0)
        return fail(errno);
    // The mode is set on the temporary, so the file has it from the moment it appears, and
    // whatever the umask.
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int code = errno;
    if (::close(fd) != 0 && written)
        code = errno;
    else if (written)
        code = 0;
    if (code == 0 && ::renameat(folder, temporary.constData(), folder, encoded.constData()) != 0)
        code = errno;
    if (code != 0) {
        ::unlinkat(folder, temporary.constData(), 0);
        return fail(code);
    }
    if (!syncFolder(folder))
        return fail(errno);
    return true;
}

bool AtomicFile::write(const QString &path, const QByteArray &bytes, mode_t mode, QString *error) {
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        char resolved[PATH_MAX];
        if (::realpath(QFile::encodeName(path).constData(), resolved))
            target = QFile::decodeName(resolved);
        else if (errno != ENOENT) {
            if (error)
                *error = Text::tr("Cannot write %1: %2.").arg(path, systemError(errno));
            return false;
        } else {
            // A link to a file not made yet: the file is made where the link points.
            target = info.symLinkTarget();
        }
    }
    const QFileInfo targetInfo(target);
    const int folder = ::open(QFile::encodeName(targetInfo.absolutePath()).constData(),
                              O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        if (error)
            *error = Text::tr("Cannot write %1: %2.").arg(path, systemError(errno));
        return false;
    }
    const bool ok = write(folder, targetInfo.fileName(), bytes, mode, error);
    ::close(folder);
    return ok;
}

void AtomicFile::removeTemporaries(int folder, const QString &name) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR *entries = ::fdopendir(listing);
    if (!entries) {
        ::close(listing);
        return;
    }
    const QByteArray prefix = temporaryPrefix(QFile::encodeName(name));
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray entryName(entry->d_name);
        if (entryName.startsWith(prefix) && entryName.size() == prefix.size() + 6)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

} // namespace Vandra

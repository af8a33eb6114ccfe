#pragma once

#include <QString>

namespace Vandra {

// An exclusive lock on a file that the kernel holds for this process: it goes when the
// process ends, however it ends, so a lock whose owner is gone is free at once and never
// has to be judged stale by its age or its contents. The file names its holder in the lines
// QLockFile uses.
class FileLock final {
public:
    explicit FileLock(QString path)
        : m_path(std::move(path)) {}
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    ~FileLock();

    // Waits at most timeoutMs for the lock; false with a message when it stays taken or the
    // lock file cannot be opened (a link there is not followed).
    bool tryLock(int timeoutMs, QString *error);
    void unlock();
    [[nodiscard]] bool isLocked() const { return m_fd >= 0; }

private:
    // Writes who holds the lock into the file, for people and tools that look.
    void describeHolder() const;

    QString m_path;
    int m_fd = -1;
};

} // namespace Vandra

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <sys/types.h>

namespace Vandra {

// An open folder that everything inside it goes through. The folder is opened once without
// following a link at any step, and every file operation afterwards is relative to its
// descriptor and never follows a link at the file's own name, so a folder or file that is
// swapped for a link after a check cannot send the operation elsewhere.
class ConfinedDir final {
public:
    ConfinedDir() = default;
    ConfinedDir(const ConfinedDir &) = delete;
    ConfinedDir &operator=(const ConfinedDir &) = delete;
    ConfinedDir(ConfinedDir &&other) noexcept;
    ConfinedDir &operator=(ConfinedDir &&other) noexcept;
    ~ConfinedDir();

    // The folder at an absolute path none of whose components is a link.
    [[nodiscard]] static std::optional<ConfinedDir> open(const QString &absolutePath,
                                                         QString *error);
    // A folder beneath this one, by a relative path without links, "." or "..".
    [[nodiscard]] std::optional<ConfinedDir> openBeneath(const QString &relativePath,
                                                         QString *error) const;

    [[nodiscard]] int descriptor() const { return m_fd; }

    // Replaces name atomically with bytes.
    bool writeFile(const QString &name, const QByteArray &bytes, mode_t mode, QString *error) const;
    // Removes name, a file or a link, never a folder. Nothing at name is no failure.
    bool removeFile(const QString &name, QString *error) const;
    // The bytes of the plain file name, at most limit of them; none for a link, a folder, a
    // pipe or a device.
    [[nodiscard]] std::optional<QByteArray> readFile(const QString &name, qint64 limit,
                                                     QString *error) const;
    // Opens (creating or emptying) the plain file name for reading and writing; -1 with a
    // message when it is a link or anything but a plain file. The caller closes it.
    [[nodiscard]] int openOutput(const QString &name, QString *error) const;

private:
    explicit ConfinedDir(int fd)
        : m_fd(fd) {}

    int m_fd = -1;
};

} // namespace Vandra

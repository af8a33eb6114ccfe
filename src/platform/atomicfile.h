#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

namespace Vandra {

// Replaces a file whole, so that readers see the old bytes or the new ones and never a mix.
// The bytes go to a fresh temporary file beside the target (created exclusively, never
// through a link), every write is checked, the file and then its folder are synced, and only
// then is the temporary renamed over the target. On any failure the temporary is removed and
// the target keeps its old bytes.
class AtomicFile final {
public:
    // Temporaries are named ".<name>" followed by this and six random characters.
    static constexpr char temporaryMark[] = ".tmp-";

    // Writes name inside the folder open at the descriptor folder; name must be one path
    // component. A link at name is replaced, not followed.
    static bool write(int folder, const QString &name, const QByteArray &bytes, mode_t mode,
                      QString *error);
    // Writes the file at path. A link at path is followed to the file it leads to, so that a
    // file the user keeps elsewhere stays where it is.
    static bool write(const QString &path, const QByteArray &bytes, mode_t mode, QString *error);
    // Removes the temporaries of name left in folder by a writer that was killed. Only safe
    // while no writer of name can be at work, for example under the lock of its writers.
    static void removeTemporaries(int folder, const QString &name);
};

} // namespace Vandra

#pragma once

#include <QString>
#include <QStringList>

#include <sys/types.h>

namespace Vandra {

// The folders the helpers serve and keep their things in.
namespace HelperPlaces {

// The LaunchAgents, LaunchDaemons and StartupItems folders of a library.
[[nodiscard]] QStringList jobFolders(const QString &library);
// The user's agents folder and the extra folders from where jobs are linked, as the
// settings hold them now.
[[nodiscard]] QStringList userServedFolders();
// The user's agents folder of uid: under a root everyone shares the root's home.
[[nodiscard]] QString userAgentsFolder(uid_t uid);
// The folder of test jobs of uid, which may be another user than this process's.
[[nodiscard]] QString testJobsFolder(uid_t uid);
// Makes folder (and its parents) and gives it to the owner only. False when it cannot, or
// when folder is a link or belongs to someone else: such a folder in a shared place such as
// /tmp may have been put there by another user.
bool makePrivateFolder(const QString &folder);
// Whether folder is a real folder, not a link, owned by uid and writable by nobody else.
[[nodiscard]] bool isPrivateFolder(const QString &folder, uid_t uid);
// The user the privileged helper works for. Running as root: the one pkexec names, else
// (under sudo and the like) the nearest process up the line of parents that is not a
// set-user-ID launcher running as root; the kernel's records, not the environment, say so.
// Otherwise this process's own user.
[[nodiscard]] uid_t requestingUser();
// Running as root, empties the environment but for a fixed PATH, HOME and LANG, so that
// nothing the caller set reaches this process or what it runs.
void scrubEnvironment();

} // namespace HelperPlaces

} // namespace Vandra

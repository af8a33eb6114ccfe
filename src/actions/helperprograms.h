#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// Where the helper executables are and how they are started.
namespace HelperPrograms {

inline const QString serviceName = QStringLiteral("vandra-helper");
inline const QString privilegedName = QStringLiteral("vandra-privileged-helper");

// The executable called name: in VANDRA_BIN when set, else beside this program or in its
// installed helper folder (../libexec/vandra), else on the PATH. None when there is none.
[[nodiscard]] std::optional<QString> find(const QString &name);

// The command that starts the privileged helper with administrator rights: pkexec, or what
// VANDRA_PRIVILEGED_LAUNCHER says; empty runs the helper directly.
[[nodiscard]] QStringList privilegedLauncher();

// The arguments that hand this process's locations root to a helper.
[[nodiscard]] QStringList rootArguments();

// Starts the helper service for socketPath in the background, detached from this process,
// with the extra arguments. Its log goes to a file beside the socket.
bool startService(const QString &program, const QString &socketPath, const QStringList &arguments);

} // namespace HelperPrograms

} // namespace Vandra

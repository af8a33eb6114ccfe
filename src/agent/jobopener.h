#pragma once

#include <QString>

namespace Vandra {

// Opens a job in the desktop program through the job URL.
namespace JobOpener {

// The job URL of a job file: the job scheme, then the path in URL-safe Base64.
[[nodiscard]] QString url(const QString &jobPath);
// Starts vandra (from VANDRA_BIN, beside the agent, or on the PATH) with the job's URL and
// this process's root; a running vandra takes the URL over. Without vandra, the desktop's
// handler of the scheme gets the URL. False when nothing could be started.
bool open(const QString &jobPath);

} // namespace JobOpener

} // namespace Vandra

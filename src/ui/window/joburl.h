#pragma once

#include <QString>

#include <optional>

namespace Vandra {

// The job URL other programs use to open a job: the job scheme, then the job file's path in
// Base64 where a URL has its host ("vandra-job://L2V0Yy92YW5kcmEv...").
namespace JobUrl {

// The URL of a job file, in the URL-safe Base64 alphabet without padding.
[[nodiscard]] QString make(const QString &path);
// The job file a URL names; none for another scheme or a host that is not Base64 of a path.
// The host is read from the text itself: URL parsers lower-case hosts, and Base64 is not
// case-insensitive.
[[nodiscard]] std::optional<QString> path(const QString &url);

} // namespace JobUrl

} // namespace Vandra

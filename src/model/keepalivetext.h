#pragma once

#include "platform/plistvalue.h"

#include <QString>

namespace Vandra {

// The keep-alive of a job dictionary in words: "no", "yes", or "yes" with the conditions of
// a KeepAlive dictionary, so that a conditional keep-alive is never shown as a plain yes.
namespace KeepAliveText {

[[nodiscard]] QString describe(const PlistDict &plist);

} // namespace KeepAliveText

} // namespace Vandra

#pragma once

#include <functional>

namespace Vandra {

// Asked before a view lets the user change its selection; a view whose gate says no leaves
// its selection as it is.
using SelectionGate = std::function<bool()>;

} // namespace Vandra

#include "helperlog.h"

namespace Vandra {

Q_LOGGING_CATEGORY(lcHelper, "vandra.helper", QtInfoMsg)

} // namespace Vandra

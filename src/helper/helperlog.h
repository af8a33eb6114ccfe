#pragma once

#include <QLoggingCategory>

namespace Vandra {

// Every refused request is logged here with its reason.
Q_DECLARE_LOGGING_CATEGORY(lcHelper)

} // namespace Vandra

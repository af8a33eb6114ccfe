#pragma once

#include <QLoggingCategory>

// Every refused request is logged here with its reason.
Q_DECLARE_LOGGING_CATEGORY(lcHelper)

#include "helperlog.h"

Q_LOGGING_CATEGORY(lcHelper, "vandra.helper", QtInfoMsg)

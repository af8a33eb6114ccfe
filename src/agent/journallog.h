#pragma once

#include <QString>

namespace Vandra {

// The agent's messages for the user when no notification service answers: the system log,
// which the journal keeps, and standard error, which the session keeps too.
namespace JournalLog {

void write(const QString &message);

} // namespace JournalLog

} // namespace Vandra

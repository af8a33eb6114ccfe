#pragma once

#include <QDateTime>
#include <QString>

namespace Vandra {

// Time stamps as the log shows them: short date, medium time, in the user's language, with
// recent days named relatively ("today", "yesterday").
namespace RelativeDateFormatter {

[[nodiscard]] QString format(const QDateTime &dateTime);

} // namespace RelativeDateFormatter

} // namespace Vandra

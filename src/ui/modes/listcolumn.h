#pragma once

#include <QList>
#include <QString>

namespace Vandra {

// The columns of the list mode, in their order on screen.
enum class ListColumn {
    name = 0,
    summary,
    kind,
    enabled,
    keepAlive,
    scheduled,
    run,
    status,
};

namespace ListColumns {

[[nodiscard]] const QList<ListColumn> &allCases();
[[nodiscard]] QString title(ListColumn column);
// The columns that hold text and sort by the label comparison.
[[nodiscard]] bool isText(ListColumn column);

} // namespace ListColumns

} // namespace Vandra

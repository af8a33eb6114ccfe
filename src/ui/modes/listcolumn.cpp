#include "ui/modes/listcolumn.h"

#include "support/localize.h"

namespace Vandra {

namespace ListColumns {

const QList<ListColumn> &allCases() {
    static const QList<ListColumn> columns = {
        ListColumn::name,      ListColumn::summary,   ListColumn::kind, ListColumn::enabled,
        ListColumn::keepAlive, ListColumn::scheduled, ListColumn::run,  ListColumn::status};
    return columns;
}

QString title(ListColumn column) {
    switch (column) {
    case ListColumn::name:
        return Localize::name();
    case ListColumn::summary:
        return Localize::summary();
    case ListColumn::kind:
        return Localize::kind();
    case ListColumn::enabled:
        return Localize::enabled();
    case ListColumn::keepAlive:
        return Localize::relaunch();
    case ListColumn::scheduled:
        return Localize::scheduled();
    case ListColumn::run:
        return Localize::run();
    case ListColumn::status:
        return Localize::text("Status");
    }
    return {};
}

bool isText(ListColumn column) {
    return column == ListColumn::name || column == ListColumn::summary ||
           column == ListColumn::run || column == ListColumn::status;
}

} // namespace ListColumns

} // namespace Vandra

#pragma once

#include <QSet>

namespace Vandra {

// A derived field edited since the record was made; writing rebuilds only its keys.
enum class Change {
    watchPath = 0,
    run,
    keepAlive,
    machServices,
    limitLoadToSessionType,
    time,
    generic,
    selfUpdating,
};

using Changes = QSet<Change>;

} // namespace Vandra

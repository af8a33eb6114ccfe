#pragma once

#include "model/kind.h"

#include <QString>

namespace Vandra {

// What happened to one job between two looks at the job folders.
struct JobChange {
    enum class Type { added, changed, removed, enabled, disabled };

    Type type = Type::changed;
    QString label;
    Kind kind = Kind::userAgent;
    // The job's file (or startup item folder); for a removed job, where it was.
    QString path;

    friend bool operator==(const JobChange &, const JobChange &) = default;
};

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QString>

namespace Vandra {

class WhenSwitches;

// Applies one "FIELD=VALUE" edit to the current job the way the editor's control for that
// field does, recording the same changes.
class JobFieldSetter final {
public:
    JobFieldSetter(Job &job, WhenSwitches &when)
        : m_job(job)
        , m_when(when) {}

    // An empty result means success; otherwise it says what is wrong.
    [[nodiscard]] QString apply(const QString &assignment);

    [[nodiscard]] static QStringList fieldNames();

private:
    Job &m_job;
    WhenSwitches &m_when;
};

} // namespace Vandra

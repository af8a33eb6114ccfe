#pragma once

#include "model/job.h"

#include <QString>

#include <optional>

namespace Vandra {

// What a job offers to share: for a job the user may edit, its file and the text of the file
// as a save would write it; for a locked one (a login item, a system job that may not be
// edited), only its command.
struct ShareItems {
    std::optional<QString> file;
    std::optional<QString> xmlText;
    std::optional<QString> runText;

    // Nothing without a job or a kind. Either of file and text is left out when it cannot
    // be made.
    [[nodiscard]] static ShareItems forJob(const JobPtr &job);
    [[nodiscard]] bool isEmpty() const { return !file && !xmlText && !runText; }
};

} // namespace Vandra

#pragma once

#include "platform/plistvalue.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace Vandra {

// A repair the user can apply with one click: an edit of the job's dictionary, made on the
// dictionary as the job would be saved.
struct Fix {
    QString title;
    std::function<void(PlistDict &)> edit;
};

// One thing the job doctor noticed about a job.
struct Finding {
    // In rising order of gravity, so that the worst of several is the greatest.
    enum class Severity {
        note,    // worth knowing, harmless
        warning, // the job will likely not do what the user expects
        error,   // launchd would refuse the job, or it cannot work
    };

    Severity severity = Severity::note;
    // The launchd key concerned; empty for the file as a whole.
    QString key;
    // One sentence in plain words.
    QString explanation;
    // Further lines, such as the end of the job's log.
    QStringList detail;
    std::optional<Fix> fix;
};

using Findings = QList<Finding>;

} // namespace Vandra

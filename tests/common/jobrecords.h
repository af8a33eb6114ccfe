#pragma once

#include "model/job.h"
#include "model/jobreader.h"
#include "platform/plistvalue.h"

#include <QString>

#include <initializer_list>
#include <memory>
#include <optional>

namespace Vandra {

// A bare record of a job at /jobs/LABEL.plist, as the views see one, without a file behind it.
// The filter searches its text, which may be missing.
inline JobPtr jobRecord(Kind kind, const QString &label, const std::optional<QString> &text) {
    auto job = std::make_shared<Job>();
    job->kind = kind;
    job->label = label;
    job->originalLabel = label;
    job->url = QStringLiteral("/jobs/") + label + QStringLiteral(".plist");
    job->textContent = text;
    return job;
}

// The same whose text is its label.
inline JobPtr jobRecord(Kind kind, const QString &label) {
    return jobRecord(kind, label, label);
}

// A user agent read from a dictionary: the label, /bin/true as its program, and the given keys.
inline JobPtr jobFromKeys(const QString &label, std::initializer_list<PlistDict::Entry> keys) {
    PlistDict plist(keys);
    plist.insert(QStringLiteral("Label"), PlistValue(label));
    plist.insert(QStringLiteral("Program"), PlistValue(QStringLiteral("/bin/true")));
    return JobReader::jobFromPlist(
        plist, QStringLiteral("/jobs/") + label + QStringLiteral(".plist"), Kind::userAgent);
}

// A user agent that starts at the times of one calendar entry (or a list of them).
inline JobPtr calendarJob(const QString &label, const PlistValue &calendar) {
    return jobFromKeys(label, {{QStringLiteral("StartCalendarInterval"), calendar}});
}

} // namespace Vandra

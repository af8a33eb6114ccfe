#include "jobstatus.h"

namespace Vandra {

namespace {

const QString loadedKey = QStringLiteral("isLoaded");
const QString runningKey = QStringLiteral("isRunning");
const QString pidKey = QStringLiteral("pid");
const QString exitStatusKey = QStringLiteral("lastExitStatus");
const QString exitTimeKey = QStringLiteral("lastExitTime");
const QString nextRunKey = QStringLiteral("nextRun");

} // namespace

PlistDict JobStatus::toDict() const {
    PlistDict dict;
    dict.insert(loadedKey, isLoaded);
    dict.insert(runningKey, isRunning);
    if (pid)
        dict.insert(pidKey, *pid);
    if (lastExitStatus)
        dict.insert(exitStatusKey, qint64(*lastExitStatus));
    if (lastExitTime)
        dict.insert(exitTimeKey, *lastExitTime);
    if (nextRun)
        dict.insert(nextRunKey, *nextRun);
    return dict;
}

JobStatus JobStatus::fromDict(const PlistDict &dict) {
    JobStatus status;
    status.isLoaded = dict.value(loadedKey).toBool().value_or(false);
    status.isRunning = dict.value(runningKey).toBool().value_or(false);
    status.pid = dict.value(pidKey).toInteger();
    if (const auto code = dict.value(exitStatusKey).toInteger())
        status.lastExitStatus = int(*code);
    status.lastExitTime = dict.value(exitTimeKey).toDate();
    status.nextRun = dict.value(nextRunKey).toDate();
    return status;
}

} // namespace Vandra

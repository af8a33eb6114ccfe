#include "model/job.h"

#include "model/joblist.h"
#include "platform/labelcollator.h"

namespace Vandra {

void Job::setRun(const QString &run) {
    m_run = run;
    recordChange(Change::run);
}

void Job::setKeepAlive(std::optional<bool> keepAlive) {
    m_keepAlive = keepAlive;
    recordChange(Change::keepAlive);
}

void Job::setKeepAliveSuccessfulExitSet(std::optional<bool> isSet) {
    m_successfulExit = isSet;
    recordChange(Change::keepAlive);
}

void Job::setWatchPath(const std::optional<QString> &path) {
    m_watchPath = path;
    recordChange(Change::watchPath);
}

void Job::setMachServicesKey(const std::optional<QString> &key) {
    m_machServicesKey = key;
    recordChange(Change::machServices);
}

void Job::setLimitLoadToSessionTypeIndex(std::optional<qint64> index) {
    m_sessionTypeIndex = index;
    recordChange(Change::limitLoadToSessionType);
}

void Job::setLimitLoadToSessionTypeEnabled(bool enabled) {
    m_sessionTypeEnabled = enabled;
    if (!m_sessionTypeIndex)
        m_sessionTypeIndex = 0;
    recordChange(Change::limitLoadToSessionType);
}

bool Job::isNewFile() {
    if (!m_isNewFile)
        m_isNewFile = false;
    return *m_isNewFile;
}

bool Job::isLocked() {
    if (!m_isLocked)
        m_isLocked = false;
    return *m_isLocked;
}

bool Job::isEnabled() {
    if (!m_isEnabled)
        m_isEnabled = true;
    return *m_isEnabled;
}

Changes &Job::changes() {
    if (!m_changes)
        m_changes = Changes();
    return *m_changes;
}

void Job::recordChange(Change change) {
    if (m_currentIn.list)
        m_currentIn.list->markChanged(change);
}

void Job::setPlistBool(const QString &key, bool value) {
    if (!isCurrent())
        return;
    if (plist)
        plist->insert(key, PlistValue(value));
    recordChange(Change::selfUpdating);
}

void Job::setPlistText(const QString &key, const QString &text) {
    if (!isCurrent())
        return;
    if (plist) {
        if (text.isEmpty())
            plist->remove(key);
        else
            plist->insert(key, PlistValue(text));
    }
    recordChange(Change::selfUpdating);
}

bool jobLessThan(const JobPtr &a, const JobPtr &b) {
    return LabelCollator::lessThan(a->label, b->label);
}

} // namespace Vandra

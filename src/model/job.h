#pragma once

#include "model/change.h"
#include "model/jobtext.h"
#include "model/kind.h"
#include "model/scheduled.h"
#include "platform/plistvalue.h"

#include <QString>

#include <memory>
#include <optional>

namespace Vandra {

class Job;
class JobList;
using JobPtr = std::shared_ptr<Job>;

// One item the program lists and edits: a launchd job, a login item or a startup item.
//
// The record keeps the dictionary as read in plist, the store of every key, beside a few
// derived fields the editor shows. Setting a derived field on the current job records a
// Change and marks the editor edited; writing rebuilds only the keys of recorded changes. A
// job learns that it is current from the list that makes it so.
class Job final {
public:
    Job() = default;

    std::optional<QString> runIcon; // icon identity: a file path or a theme name
    std::optional<Kind> kind;
    std::optional<Kind> originalKind;
    QString label;
    QString originalLabel;
    std::optional<QString> summary;
    JobText textContent;
    std::optional<PlistDict> plist;
    std::optional<QString> url;

    [[nodiscard]] const QString &run() const { return m_run; }
    void setRun(const QString &run);
    [[nodiscard]] std::optional<bool> keepAlive() const { return m_keepAlive; }
    void setKeepAlive(std::optional<bool> keepAlive);
    [[nodiscard]] std::optional<bool> isKeepAliveSuccessfulExitSet() const {
        return m_successfulExit;
    }
    void setKeepAliveSuccessfulExitSet(std::optional<bool> isSet);
    bool isKeepAliveSuccessfulExitEnabled = false;
    [[nodiscard]] const std::optional<QString> &watchPath() const { return m_watchPath; }
    void setWatchPath(const std::optional<QString> &path);
    std::optional<QList<ScheduledType>> scheduled;
    bool isScheduledEnabled = false;
    [[nodiscard]] const std::optional<QString> &machServicesKey() const {
        return m_machServicesKey;
    }
    void setMachServicesKey(const std::optional<QString> &key);
    bool isMachServicesEnabled = true;
    [[nodiscard]] std::optional<qint64> limitLoadToSessionTypeIndex() const {
        return m_sessionTypeIndex;
    }
    void setLimitLoadToSessionTypeIndex(std::optional<qint64> index);
    [[nodiscard]] bool isLimitLoadToSessionTypeEnabled() const { return m_sessionTypeEnabled; }
    // Also selects the first session type (Aqua) when none was chosen, on any job.
    void setLimitLoadToSessionTypeEnabled(bool enabled);
    bool isUserNameEnabled = false;

    // The lazy fields: unset until first read, then their default holds.
    [[nodiscard]] bool isNewFile();
    void setNewFile(bool isNew) { m_isNewFile = isNew; }
    [[nodiscard]] bool isLocked();
    void setLocked(bool locked) { m_isLocked = locked; }
    [[nodiscard]] bool isEnabled();
    void setEnabled(bool enabled) { m_isEnabled = enabled; }
    [[nodiscard]] std::optional<QString> loginItemKind() const { return m_loginItemKind; }
    void setLoginItemKind(const std::optional<QString> &kind) { m_loginItemKind = kind; }
    [[nodiscard]] Changes &changes();
    [[nodiscard]] bool isChangesSet() const { return m_changes.has_value(); }
    void setChanges(const Changes &changes) { m_changes = changes; }
    // Peeks at a lazy field without settling it.
    [[nodiscard]] std::optional<bool> enabledState() const { return m_isEnabled; }

    // Records a change when this is the current job, and marks the editor edited.
    void recordChange(Change change);
    [[nodiscard]] bool isCurrent() const { return m_currentIn.list != nullptr; }

    // A plist-backed key set from the editor: a Boolean to its state, a text key to its
    // text, removed when empty. Acts only on the current job.
    void setPlistBool(const QString &key, bool value);
    void setPlistText(const QString &key, const QString &text);

private:
    friend class JobList;

    // The list whose current job this is. It belongs to the object, not to its value: a copy
    // is current nowhere, and taking another job's value keeps the object's place.
    struct CurrentIn {
        JobList *list = nullptr;
        CurrentIn() = default;
        CurrentIn(const CurrentIn &) {}
        CurrentIn &operator=(const CurrentIn &) { return *this; }
    };

    CurrentIn m_currentIn;
    QString m_run;
    std::optional<bool> m_keepAlive;
    std::optional<bool> m_successfulExit;
    std::optional<QString> m_watchPath;
    std::optional<QString> m_machServicesKey;
    std::optional<qint64> m_sessionTypeIndex;
    bool m_sessionTypeEnabled = false;

    std::optional<bool> m_isNewFile;
    std::optional<bool> m_isLocked;
    std::optional<bool> m_isEnabled;
    std::optional<QString> m_loginItemKind;
    std::optional<Changes> m_changes;
};

// One job goes before another when its label comes first in the label comparison.
[[nodiscard]] bool jobLessThan(const JobPtr &a, const JobPtr &b);

} // namespace Vandra

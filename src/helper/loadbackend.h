#pragma once

#include "model/jobstatus.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace Vandra {

// Where jobs are loaded into and unloaded from the service manager. launchctl on macOS; on
// Linux systemd, or where no systemd manager answers, a record of what is loaded.
class LoadBackend {
public:
    // The unit whose journal holds a loaded job's output.
    struct JournalUnit {
        QString name;
        // A unit of a user's manager rather than the system's.
        bool isUserUnit = false;
    };

    virtual ~LoadBackend() = default;

    // The backend's name, for the helpers' log and the About box.
    [[nodiscard]] virtual QString name() const = 0;

    // Loads the job file at path whose label is label. False with a message on failure.
    virtual bool load(const QString &label, const QString &path, QString *error) = 0;
    // Unloads the jobs with this label or from this file; unloading what is not loaded
    // succeeds.
    virtual bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                        QString *error) = 0;
    // Starts a loaded job now, whatever its schedule says; stops it when it runs. Stopping a
    // job that does not run succeeds.
    virtual bool start(const QString &label, QString *error) = 0;
    virtual bool stop(const QString &label, QString *error) = 0;
    [[nodiscard]] virtual bool isLoaded(const QString &label) const = 0;
    // The file a loaded label came from.
    [[nodiscard]] virtual std::optional<QString> pathOf(const QString &label) const = 0;
    // The labels of the jobs loaded through this backend, test jobs left out.
    [[nodiscard]] virtual QStringList loadedLabels() const = 0;
    // What the manager says about a loaded job, or none when it is not loaded.
    [[nodiscard]] virtual std::optional<JobStatus> status(const QString &label) const = 0;
    // The unit of a loaded job, or none when the manager keeps no journal of its own for it.
    [[nodiscard]] virtual std::optional<JournalUnit> journalUnit(const QString &label) const {
        Q_UNUSED(label)
        return std::nullopt;
    }
    // Calls changed whenever the manager reports that a job's status may have changed in a
    // way the helper did not cause itself. The record of loaded jobs has nothing to report.
    virtual void watch(std::function<void()> changed) { Q_UNUSED(changed) }
};

} // namespace Vandra

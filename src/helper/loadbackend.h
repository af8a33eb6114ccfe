#pragma once

#include <QString>

#include <optional>

// Where jobs are loaded into and unloaded from the service manager. launchctl on macOS; on
// Linux, for now, a record of what is loaded.
class LoadBackend {
public:
    virtual ~LoadBackend() = default;

    // Loads the job file at path whose label is label. False with a message on failure.
    virtual bool load(const QString &label, const QString &path, QString *error) = 0;
    // Unloads the jobs with this label or from this file; unloading what is not loaded
    // succeeds.
    virtual bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                        QString *error) = 0;
    [[nodiscard]] virtual bool isLoaded(const QString &label) const = 0;
    // The file a loaded label came from.
    [[nodiscard]] virtual std::optional<QString> pathOf(const QString &label) const = 0;
};

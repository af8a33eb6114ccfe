#pragma once

#include "helper/loadbackend.h"
#include "helper/systemdmanager.h"
#include "platform/systemdunitgenerator.h"

#include <QString>
#include <QStringList>

#include <memory>

// Loads jobs into a systemd manager: the units generated from the job file are written into
// one unit folder, enabled and started; unloading stops, disables and removes them. Only
// units whose first line is our marker are ever replaced or removed, and a job whose unit
// name the manager already knows from a file of someone else's is refused.
//
// Test jobs are run by the helper itself; their loads go to a backend of their own.
class SystemdBackend final : public LoadBackend {
public:
    struct Setup {
        SystemdScope scope = SystemdScope::user;
        // Where our units are written: ~/.config/systemd/user or /etc/systemd/system.
        QString unitFolder;
        // The folder of test jobs and the backend that records them.
        QString testFolder;
        std::unique_ptr<LoadBackend> testJobs;
    };

    SystemdBackend(const SystemdManager &manager, Setup setup);

    bool load(const QString &label, const QString &path, QString *error) override;
    bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                QString *error) override;
    [[nodiscard]] bool isLoaded(const QString &label) const override;
    [[nodiscard]] std::optional<QString> pathOf(const QString &label) const override;

private:
    [[nodiscard]] bool isTestJob(const std::optional<QString> &path) const;
    [[nodiscard]] QString unitFile(const QString &name) const;
    // The job file named by the marker of our unit of that name, or none when there is no
    // such unit or it is not ours.
    [[nodiscard]] std::optional<QString> markedPath(const QString &name) const;
    // The names of our units for a label's unit stem that exist in the folder.
    [[nodiscard]] QStringList ourUnits(const QString &stem) const;
    // Refuses a unit name that is taken by a unit we did not write.
    bool checkFree(const QString &name, QString *error) const;
    bool writeUnit(const SystemdUnit &unit, QString *error) const;
    bool remove(const QStringList &names, QString *error);

    SystemdManager m_manager;
    Setup m_setup;
};

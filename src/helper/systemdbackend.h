#pragma once

#include "helper/loadbackend.h"
#include "helper/systemdmanager.h"
#include "platform/systemdunitgenerator.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace Vandra {

class SystemdWatcher;

// Loads jobs into a systemd manager: the units generated from the job file are written into
// one unit folder, enabled and started; unloading stops, disables and removes them. Only
// units whose first line is our marker are ever replaced or removed, and a job whose unit
// name the manager already knows from a file of someone else's is refused.
//
// With the system manager, agents for every user become global user units instead: written
// and linked into a folder that every user's manager reads when it starts, with no manager
// asked. Test jobs are run by the helper itself; their loads go to a backend of their own.
class SystemdBackend final : public LoadBackend {
public:
    struct Setup {
        SystemdScope scope = SystemdScope::user;
        // Where our units are written: ~/.config/systemd/user or /etc/systemd/system.
        QString unitFolder;
        // Where agents' global user units go (/etc/systemd/user), and the other folders of
        // global user units whose names they must not take; empty when agents load like any
        // other job.
        QString agentUnitFolder;
        QStringList agentSearchFolders;
        // The folder of test jobs and the backend that records them.
        QString testFolder;
        std::unique_ptr<LoadBackend> testJobs;
    };

    SystemdBackend(const SystemdManager &manager, Setup setup);
    ~SystemdBackend() override;

    [[nodiscard]] QString name() const override { return QStringLiteral("systemd"); }
    bool load(const QString &label, const QString &path, QString *error) override;
    bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                QString *error) override;
    // Start and stop act on the job's service. Agents for every user run in each user's
    // session, where this backend's manager cannot reach them: they are refused.
    bool start(const QString &label, QString *error) override;
    bool stop(const QString &label, QString *error) override;
    [[nodiscard]] bool isLoaded(const QString &label) const override;
    [[nodiscard]] std::optional<QString> pathOf(const QString &label) const override;
    [[nodiscard]] QStringList loadedLabels() const override;
    // What the manager says about a job loaded into it, or none when it is not. Agents for
    // every user are loaded, and nothing more is known of them here.
    [[nodiscard]] std::optional<JobStatus> status(const QString &label) const override;
    [[nodiscard]] std::optional<JournalUnit> journalUnit(const QString &label) const override;
    // Changes of our units, reported by the manager's signals.
    void watch(std::function<void()> changed) override;

private:
    // Where a job's units go, and whether a manager is asked to act on them.
    struct Place {
        SystemdScope scope;
        QString folder;
        bool isManaged;
    };

    // The place that holds the service of a label's job, and the service's name.
    [[nodiscard]] std::optional<std::pair<Place, QString>> serviceOf(const QString &label) const;
    [[nodiscard]] bool isTestJob(const std::optional<QString> &path) const;
    [[nodiscard]] QList<Place> places() const;
    [[nodiscard]] Place placeOf(const QString &path) const;
    [[nodiscard]] static QString unitFile(const Place &place, const QString &name);
    // The job file named by the marker of our unit of that name, or none when there is no
    // such unit or it is not ours.
    [[nodiscard]] static std::optional<QString> markedPath(const Place &place, const QString &name);
    // The names of our units for a label's unit stem that exist in the folder.
    [[nodiscard]] static QStringList ourUnits(const Place &place, const QString &stem);
    // Refuses a unit name that is taken by a unit we did not write.
    bool checkFree(const Place &place, const QString &name, QString *error) const;
    static bool writeUnit(const Place &place, const SystemdUnit &unit, QString *error);
    bool enable(const Place &place, const QList<SystemdUnit> &units, QString *error);
    bool remove(const Place &place, const QStringList &names, QString *error);
    bool unloadFrom(const Place &place, const std::optional<QString> &label,
                    const std::optional<QString> &path, QString *error);

    SystemdManager m_manager;
    Setup m_setup;
    std::unique_ptr<SystemdWatcher> m_watcher;
};

} // namespace Vandra

#pragma once

#include "platform/plistvalue.h"

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// Which manager runs a job's units.
enum class SystemdScope {
    user,     // the user's own manager: the user's agents
    allUsers, // every user's manager: agents for every user
    system,   // the system manager: daemons
};

// One unit file: its name ("org.example.backup.service") and its text.
struct SystemdUnit {
    QString name;
    QString text;
    // The target that enabling links it into, so that it starts with its manager; empty when
    // nothing starts it but another unit.
    QString wantedBy;

    friend bool operator==(const SystemdUnit &, const SystemdUnit &) = default;
};

// A launchd key, or a part of one, that the units cannot carry, and why.
struct SystemdNote {
    QString key;
    QString reason;

    friend bool operator==(const SystemdNote &, const SystemdNote &) = default;
};

struct SystemdUnits {
    // The service first, then its timer and path units when the job has them. Empty when
    // the job cannot become units at all (no label, no program); the notes say why.
    QList<SystemdUnit> units;
    QList<SystemdNote> notes;
    // The job says Disabled: its units are written but not enabled or started.
    bool isDisabled = false;
};

// Turns a launchd job into the systemd units that run it the way launchd would.
class SystemdUnitGenerator final {
public:
    // units of a job's dictionary, read from the job file at jobPath, for a manager.
    [[nodiscard]] static SystemdUnits generate(const PlistDict &job, SystemdScope scope,
                                               const QString &jobPath);

    // The stem of a label's unit names, or none when no unit can be named after it.
    [[nodiscard]] static std::optional<QString> unitStem(const QString &label);
    // The first line of every unit we write; it names the job file the unit comes from.
    [[nodiscard]] static QString marker(const QString &jobPath);
    // The job file named by a unit text's marker, or none when the unit is not ours.
    [[nodiscard]] static std::optional<QString> markedJobPath(const QString &unitText);
    // The keys the units carry, in the order of the README's table.
    [[nodiscard]] static const QStringList &supportedKeys();
};

} // namespace Vandra

#include "helper/systemdselection.h"

#include "helper/helperlog.h"
#include "helper/statefilebackend.h"
#include "helper/systemdbackend.h"
#include "support/locations.h"

#include <QDBusConnection>
#include <QFileInfo>

namespace Vandra {

namespace {

enum class Bus { session, system };

std::optional<QDBusConnection> managerBus(Bus bus) {
    const QString address = qEnvironmentVariable("VANDRA_SYSTEMD_BUS");
    if (!address.isEmpty())
        return QDBusConnection::connectToBus(address, QStringLiteral("vandra-systemd"));
    const QString root = Locations::shared().root();
    if (!root.isEmpty() && root != QStringLiteral("/"))
        return std::nullopt;
    if (bus == Bus::system) {
        // The system bus may answer on a machine that systemd does not run.
        if (!QFileInfo::exists(QStringLiteral("/run/systemd/system")))
            return std::nullopt;
        return QDBusConnection::systemBus();
    }
    return QDBusConnection::sessionBus();
}

std::unique_ptr<LoadBackend> choose(Bus bus, SystemdBackend::Setup setup,
                                    const QString &stateFile) {
    auto stateBackend = std::make_unique<StateFileBackend>(stateFile);
    const auto connection = managerBus(bus);
    if (connection) {
        const SystemdManager manager(*connection);
        if (manager.isReachable()) {
            qCInfo(lcHelper).noquote() << "load backend: systemd, units in" << setup.unitFolder;
            setup.testJobs = std::move(stateBackend);
            return std::make_unique<SystemdBackend>(manager, std::move(setup));
        }
    }
    qCInfo(lcHelper).noquote() << "load backend: state file" << stateFile;
    return stateBackend;
}

} // namespace

namespace SystemdSelection {

std::unique_ptr<LoadBackend> userBackend(const QString &stateFile, const QString &testFolder) {
    // systemd reads the user's units from the same configuration home as ours.
    const QString configHome = QFileInfo(Locations::shared().userLibrary()).path();
    return choose(Bus::session,
                  {SystemdScope::user,
                   configHome + QStringLiteral("/systemd/user"),
                   {},
                   {},
                   testFolder,
                   nullptr},
                  stateFile);
}

std::unique_ptr<LoadBackend> systemBackend(const QString &stateFile, const QString &testFolder) {
    const Locations &places = Locations::shared();
    // Agents run in users' sessions, never as root: they become global user units.
    return choose(Bus::system,
                  {SystemdScope::system,
                   places.underRoot(QStringLiteral("/etc/systemd/system")),
                   places.underRoot(QStringLiteral("/etc/systemd/user")),
                   {places.underRoot(QStringLiteral("/usr/lib/systemd/user")),
                    places.underRoot(QStringLiteral("/usr/local/lib/systemd/user"))},
                   testFolder,
                   nullptr},
                  stateFile);
}

} // namespace SystemdSelection

} // namespace Vandra

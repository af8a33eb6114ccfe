// vandra-agent: tells the user about changes to the launchd jobs, started at login.

#include "agent/agent.h"
#include "agent/desktopnotifications.h"
#include "agent/jobopener.h"
#include "agent/runsetting.h"
#include "agent/terminationsignals.h"
#include "model/programobjects.h"
#include "support/const.h"
#include "support/defaults.h"
#include "support/locations.h"
#include "support/translations.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstdio>

using namespace Vandra;

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandra-agent"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANDRA_VERSION));
    Translations::install(app);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        std::puts("usage: vandra-agent [--root R]\n"
                  "Tells you when a launchd job is added, changed, removed, enabled or disabled.");
        return 0;
    }
    Locations::initialize(Locations::rootFromArguments(arguments));
    const ProgramObjects objects;
    Defaults::shared().registerDefaults();

    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, &QCoreApplication::quit);

    // One agent per session: the bus name says whether one runs already.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()->isServiceRegistered(Const::agent)) {
        std::fputs("vandra-agent: another agent runs in this session\n", stderr);
        return 0;
    }

    DesktopNotifications notifications(bus);
    QObject::connect(&notifications, &DesktopNotifications::showRequested, &app,
                     [](const QString &jobPath) { JobOpener::open(jobPath); });
    Agent agent(notifications);
    agent.start();
    RunSetting runSetting;
    QObject::connect(&runSetting, &RunSetting::switchedOff, &app, &QCoreApplication::quit);
    if (bus.isConnected() && !bus.registerService(Const::agent)) {
        std::fputs("vandra-agent: another agent runs in this session\n", stderr);
        return 0;
    }
    return QCoreApplication::exec();
}

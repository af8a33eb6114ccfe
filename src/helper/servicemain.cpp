// vandra-helper: carries out the program's requests with the user's rights.

#include "helper/actionservice.h"
#include "helper/helperlog.h"
#include "helper/helperoptions.h"
#include "helper/helperplaces.h"
#include "helper/helperserver.h"
#include "helper/logreader.h"
#include "helper/systemdselection.h"
#include "helper/testjobrunner.h"
#include "model/programobjects.h"
#include "platform/filelock.h"
#include "support/locations.h"
#include "support/translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

#include <cstdio>

using namespace Vandra;

int main(int argc, char *argv[]) {
    // A client that goes away mid-reply is a closed connection, not the end of the helper.
    ::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandra-helper"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANDRA_VERSION));
    Translations::install(app);

    QString error;
    const auto options = HelperOptions::parse(QCoreApplication::arguments(), &error);
    if (!options) {
        std::fprintf(stderr, "vandra-helper: %s\n", qPrintable(error));
        return 2;
    }
    Locations::initialize(options->root.isEmpty()
                              ? Locations::rootFromArguments(QCoreApplication::arguments())
                              : options->root);
    const ProgramObjects objects;
    const Locations &locations = Locations::shared();
    const QString socketPath =
        options->socketPath.isEmpty() ? locations.helperSocket() : options->socketPath;
    if (!HelperPlaces::makePrivateFolder(QFileInfo(socketPath).absolutePath())) {
        qCCritical(lcHelper) << "cannot make the folder of" << socketPath;
        return 1;
    }

    // One helper per socket: a second one started at the same moment steps back. The
    // kernel drops the lock with its holder, so a helper that was killed holds nothing.
    FileLock lock(socketPath + QStringLiteral(".lock"));
    if (!lock.tryLock(0, &error)) {
        qCInfo(lcHelper).noquote() << "another helper serves" << socketPath << error;
        return 0;
    }
    {
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(1000)) {
            qCInfo(lcHelper) << "another helper serves" << socketPath;
            return 0;
        }
    }

    const uid_t uid = ::getuid();
    const QString testFolder = HelperPlaces::testJobsFolder(uid);

    auto *runner = new TestJobRunner(options->testTimeout * 1000, &app);
    auto *logReader = new LogReader(LogReader::journalCommandFromEnvironment(),
                                    options->journalTimeout * 1000, &app);
    ActionService::Parts parts{
        // Local agents run in the user's session, so the user's helper loads and unloads them.
        PathPolicy([testFolder] {
            const QString localAgents =
                HelperPlaces::jobFolders(Locations::shared().localLibrary()).constFirst();
            // The folder lives in the shared temporary folder: one that another user made, or
            // a link, serves no test job.
            const bool isPrivate = HelperPlaces::makePrivateFolder(testFolder);
            return PathPolicy::Folders{HelperPlaces::userServedFolders(),
                                       {},
                                       {localAgents},
                                       isPrivate ? testFolder : QString()};
        }),
        SystemdSelection::userBackend(locations.stateDir() + QStringLiteral("/loaded.plist"),
                                      testFolder),
        runner,
        logReader,
        false,
        QStringLiteral("vandra-helper"),
    };
    auto *service = new ActionService(std::move(parts), &app);
    auto *server = new HelperServer(service, &app);
    server->setFrameTimeout(options->frameTimeout * 1000);
    if (!server->listen(socketPath, &error)) {
        qCCritical(lcHelper).noquote() << "cannot listen at" << socketPath << error;
        return 1;
    }
    qCInfo(lcHelper).noquote() << "serving" << socketPath;

    // Ends on its own once nobody has used it for a while; the program starts it again.
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(options->idleTimeout * 1000);
    QObject::connect(&idle, &QTimer::timeout, &app, [server, service] {
        if (server->sessionCount() == 0 && !service->isBusy())
            QCoreApplication::quit();
    });
    auto rearm = [&idle, server, service] {
        if (server->sessionCount() == 0 && !service->isBusy())
            idle.start();
        else
            idle.stop();
    };
    QObject::connect(server, &HelperServer::sessionCountChanged, &app, rearm);
    QObject::connect(service, &ActionService::busyChanged, &app, rearm);
    rearm();

    const int status = QCoreApplication::exec();
    delete server;
    QFile::remove(socketPath);
    return status;
}

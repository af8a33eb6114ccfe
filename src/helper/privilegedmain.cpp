// vandra-privileged-helper: carries out the program's requests on the machine-wide folders.
//
// Started through a launcher (pkexec), it makes a private socket for the requesting user and
// a random token, and prints both on standard output, one line each. Every request must
// carry the token as "authData" and come from that user; it ends when its client is gone.
//
// Its record of loaded jobs lives in /run/vandra/state under the root.

#include "helper/actionservice.h"
#include "helper/helperlog.h"
#include "helper/helperoptions.h"
#include "helper/helperplaces.h"
#include "helper/helperserver.h"
#include "helper/logreader.h"
#include "helper/systemdselection.h"
#include "helper/testjobrunner.h"
#include "model/programobjects.h"
#include "support/locations.h"
#include "support/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

#include <cstdio>

using namespace Vandra;

namespace {

// A client has this long to connect after the handshake.
constexpr int firstClientTimeout = 60000; // ms

bool constantTimeEquals(const QByteArray &a, const QByteArray &b) {
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return difference == 0;
}

// A fresh private folder for the endpoint, given to the requesting user.
QString makeEndpointFolder(uid_t uid) {
    QStringList bases{Locations::shared().underRoot(QStringLiteral("/run/vandra"))};
    bases.append(QDir::tempPath());
    for (const QString &base : std::as_const(bases)) {
        if (!QDir().mkpath(base))
            continue;
        QByteArray pattern = QFile::encodeName(base + QStringLiteral("/privileged-XXXXXX"));
        if (!::mkdtemp(pattern.data()))
            continue;
        if (::geteuid() == 0 && uid != 0 && ::chown(pattern.constData(), uid, gid_t(-1)) != 0)
            continue;
        return QFile::decodeName(pattern);
    }
    return {};
}

} // namespace

int main(int argc, char *argv[]) {
    // A client that goes away mid-reply is a closed connection, not the end of the helper.
    ::signal(SIGPIPE, SIG_IGN);
    // Taken from what pkexec (or the kernel's records) says, before the environment goes.
    const uid_t uid = HelperPlaces::requestingUser();
    const QStringList journalCommand = LogReader::journalCommandFromEnvironment(true);
    HelperPlaces::scrubEnvironment();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vandra-privileged-helper"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANDRA_VERSION));
    Translations::install(app);

    QString error;
    const auto options = HelperOptions::parse(QCoreApplication::arguments(), &error);
    if (!options) {
        std::fprintf(stderr, "vandra-privileged-helper: %s\n", qPrintable(error));
        return 2;
    }
    Locations::initialize(options->root.isEmpty()
                              ? Locations::rootFromArguments(QCoreApplication::arguments())
                              : options->root);
    const ProgramObjects objects;
    const Locations &locations = Locations::shared();

    // Root acting for a user binds nowhere the user chose: replacing a socket there could
    // take the place of another service's.
    if (::geteuid() == 0 && uid != 0 && !options->socketPath.isEmpty()) {
        qCCritical(lcHelper) << "--socket is not taken when acting for another user";
        return 2;
    }
    QString folder;
    QString socketPath = options->socketPath;
    if (socketPath.isEmpty()) {
        folder = makeEndpointFolder(uid);
        if (folder.isEmpty()) {
            qCCritical(lcHelper) << "cannot make a private folder for the endpoint";
            return 1;
        }
        socketPath = folder + QStringLiteral("/helper.sock");
    }

    QString stateFolder = locations.underRoot(QStringLiteral("/run/vandra/state"));
    if (!HelperPlaces::makePrivateFolder(stateFolder) && !folder.isEmpty())
        stateFolder = folder + QStringLiteral("/state");
    const QString testFolder = HelperPlaces::testJobsFolder(uid);
    const QString userAgents = HelperPlaces::userAgentsFolder(uid);

    auto *runner = new TestJobRunner(options->testTimeout * 1000, &app);
    auto *logReader = new LogReader(journalCommand, options->journalTimeout * 1000, &app);
    logReader->setFilesUser(uid);
    ActionService::Parts parts{
        PathPolicy([testFolder, userAgents, uid] {
            const Locations &places = Locations::shared();
            // The user's test folder is in the shared temporary folder: it serves only while
            // it is the user's own and nobody else can write to it.
            const bool isPrivate = HelperPlaces::isPrivateFolder(testFolder, uid);
            return PathPolicy::Folders{HelperPlaces::jobFolders(places.localLibrary()) +
                                           HelperPlaces::jobFolders(places.systemLibrary()),
                                       {userAgents},
                                       {},
                                       isPrivate ? testFolder : QString()};
        }),
        SystemdSelection::systemBackend(stateFolder + QStringLiteral("/loaded.plist"), testFolder),
        runner,
        logReader,
        true,
        QStringLiteral("vandra-privileged-helper"),
    };
    auto *service = new ActionService(std::move(parts), &app);
    auto *server = new HelperServer(service, &app);
    server->setFrameTimeout(options->frameTimeout * 1000);

    QByteArray token(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(reinterpret_cast<quint32 *>(token.data()),
                                         reinterpret_cast<quint32 *>(token.data() + token.size()));
    server->setAuthorizer(
        [token, uid](const PlistDict &request,
                     const std::optional<PeerCredentials> &peer) -> std::optional<QString> {
            if (!peer)
                return QStringLiteral("the client's credentials are unknown");
            if (peer->uid != uid)
                return QStringLiteral("it comes from user %1, not %2").arg(peer->uid).arg(uid);
            const auto authData = request.value(ActionKey::authData).toData();
            if (!authData)
                return QStringLiteral("it carries no authData");
            if (!constantTimeEquals(*authData, token))
                return QStringLiteral("its authData is wrong");
            return std::nullopt;
        });

    if (!server->listen(socketPath, &error)) {
        qCCritical(lcHelper).noquote() << "cannot listen at" << socketPath << error;
        return 1;
    }
    if (::geteuid() == 0 && uid != 0 &&
        ::chown(QFile::encodeName(socketPath).constData(), uid, gid_t(-1)) != 0) {
        qCCritical(lcHelper) << "cannot give the endpoint to user" << uid;
        return 1;
    }

    // The whole handshake: the endpoint, then the token, each on a line of its own.
    const QByteArray handshake = QFile::encodeName(socketPath) + '\n' + token.toHex() + '\n';
    std::fwrite(handshake.constData(), 1, size_t(handshake.size()), stdout);
    std::fflush(stdout);

    QObject::connect(server, &HelperServer::sessionCountChanged, &app, [](int count) {
        if (count == 0)
            QCoreApplication::quit();
    });
    QTimer::singleShot(firstClientTimeout, &app, [server] {
        if (!server->hasHadClient())
            QCoreApplication::quit();
    });
    // The reply is written before the signal; the connections end once it has gone out.
    QObject::connect(service, &ActionService::uninstallRequested, server, &HelperServer::closeAll,
                     Qt::QueuedConnection);

    const int status = QCoreApplication::exec();
    delete server;
    QFile::remove(socketPath);
    if (!folder.isEmpty())
        QDir().rmdir(folder);
    return status;
}

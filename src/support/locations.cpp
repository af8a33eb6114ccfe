#include "support/locations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QUuid>

#include <unistd.h>

#include <memory>

namespace Vandra {

namespace {

const QString rootOption = QStringLiteral("--root");

std::unique_ptr<Locations> &instance() {
    static std::unique_ptr<Locations> locations;
    return locations;
}

QString userId() {
    return QString::number(::getuid());
}

QString environmentPath(const char *name, const QString &fallback) {
    const QString value = qEnvironmentVariable(name);
    // The XDG rules ignore relative values.
    return value.isEmpty() || QDir::isRelativePath(value) ? fallback : QDir::cleanPath(value);
}

// A root of "/" is the machine itself; any other root is made absolute so that every
// location stays valid after a change of the working folder.
QString normalizedRoot(const QString &root) {
    if (root.isEmpty())
        return {};
    const QString cleaned = QDir::cleanPath(QFileInfo(root).absoluteFilePath());
    return cleaned == QLatin1String("/") ? QString() : cleaned;
}

} // namespace

Locations::Locations(const QString &root)
    : m_root(normalizedRoot(root)) {
    if (m_root.isEmpty()) {
        m_home = QDir::cleanPath(QDir::homePath());
        m_configHome = environmentPath("XDG_CONFIG_HOME", m_home + QStringLiteral("/.config"));
        m_dataHome = environmentPath("XDG_DATA_HOME", m_home + QStringLiteral("/.local/share"));
        // Not a folder in the shared temporary folder, which another user could create
        // first and so swap the helper's socket: the user's own cache folder instead.
        const QString cacheHome =
            environmentPath("XDG_CACHE_HOME", m_home + QStringLiteral("/.cache"));
        m_runtime =
            environmentPath("XDG_RUNTIME_DIR", cacheHome + QStringLiteral("/vandra-runtime"));
    } else {
        m_home = m_root + QStringLiteral("/home");
        m_configHome = m_home + QStringLiteral("/.config");
        m_dataHome = m_home + QStringLiteral("/.local/share");
        m_runtime = m_root + QStringLiteral("/run/user");
    }
}

void Locations::initialize(const QString &root) {
    // Assigning into the one instance keeps references from earlier shared() calls valid.
    if (instance())
        *instance() = Locations(root);
    else
        instance().reset(new Locations(root));
}

QString Locations::rootFromArguments(const QStringList &args) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--"))
            break;
        if (arg == rootOption && i + 1 < args.size())
            return args.at(i + 1);
        if (arg.startsWith(rootOption + QLatin1Char('=')))
            return arg.mid(rootOption.size() + 1);
    }
    return qEnvironmentVariable("VANDRA_ROOT");
}

const Locations &Locations::shared() {
    if (!instance()) {
        const QStringList args =
            QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
        initialize(rootFromArguments(args));
    }
    return *instance();
}

QString Locations::userLibrary() const {
    return m_configHome + QStringLiteral("/vandra");
}

QString Locations::localLibrary() const {
    return underRoot(QStringLiteral("/etc/vandra"));
}

QString Locations::systemLibrary() const {
    return underRoot(QStringLiteral("/usr/lib/vandra"));
}

QString Locations::applications() const {
    return underRoot(QStringLiteral("/usr/lib/vandra/Applications"));
}

QString Locations::iconResources() const {
    return underRoot(QStringLiteral("/usr/share/icons"));
}

QString Locations::appSupport() const {
    return m_dataHome + QStringLiteral("/vandra");
}

QString Locations::settingsFile() const {
    return m_configHome + QStringLiteral("/vandra.conf");
}

QString Locations::userAutostart() const {
    return m_configHome + QStringLiteral("/autostart");
}

QString Locations::systemAutostart() const {
    return underRoot(QStringLiteral("/etc/xdg/autostart"));
}

QString Locations::runtimeDir() const {
    return m_runtime + QStringLiteral("/vandra");
}

QString Locations::helperSocket() const {
    return runtimeDir() + QStringLiteral("/helper.sock");
}

QString Locations::stateDir() const {
    return runtimeDir() + QStringLiteral("/state");
}

QString Locations::testJobsDir() const {
    return temporaryFolder() + QStringLiteral("/vandra-test-jobs-") + userId();
}

QString Locations::temporaryFolder() const {
    return m_root.isEmpty() ? QDir::cleanPath(QDir::tempPath()) : m_root + QStringLiteral("/tmp");
}

QString Locations::temporaryFile(const QString &suffix) const {
    QString name = QStringLiteral("vandra-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    if (!suffix.isEmpty())
        name += suffix.startsWith(QLatin1Char('.')) ? suffix : QString(QLatin1Char('.') + suffix);
    const QString folder = temporaryFolder();
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

QString Locations::underRoot(const QString &machinePath) const {
    if (m_root.isEmpty())
        return machinePath;
    if (machinePath.startsWith(QLatin1Char('/')))
        return m_root + machinePath;
    return m_root + QLatin1Char('/') + machinePath;
}

} // namespace Vandra

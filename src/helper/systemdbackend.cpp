#include "helper/systemdbackend.h"

#include "helper/plistfile.h"
#include "helper/systemdwatcher.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Vandra {

namespace {

const QStringList unitSuffixes{QStringLiteral(".timer"), QStringLiteral(".path"),
                               QStringLiteral(".service")};

QString wantsFolder(const QString &folder, const QString &target) {
    return folder + QLatin1Char('/') + target + QStringLiteral(".wants");
}

} // namespace

SystemdBackend::SystemdBackend(const SystemdManager &manager, Setup setup)
    : m_manager(manager)
    , m_setup(std::move(setup)) {}

SystemdBackend::~SystemdBackend() = default;

bool SystemdBackend::isTestJob(const std::optional<QString> &path) const {
    return path && !m_setup.testFolder.isEmpty() &&
           path->startsWith(m_setup.testFolder + QLatin1Char('/'));
}

QList<SystemdBackend::Place> SystemdBackend::places() const {
    QList<Place> places{{m_setup.scope, m_setup.unitFolder, true}};
    if (!m_setup.agentUnitFolder.isEmpty())
        places.append({SystemdScope::allUsers, m_setup.agentUnitFolder, false});
    return places;
}

SystemdBackend::Place SystemdBackend::placeOf(const QString &path) const {
    const QList<Place> all = places();
    const bool isAgent = QFileInfo(path).dir().dirName() == QStringLiteral("LaunchAgents");
    return isAgent && all.size() > 1 ? all.at(1) : all.at(0);
}

QString SystemdBackend::unitFile(const Place &place, const QString &name) {
    return place.folder + QLatin1Char('/') + name;
}

std::optional<QString> SystemdBackend::markedPath(const Place &place, const QString &name) {
    QFile file(unitFile(place, name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SystemdUnitGenerator::markedJobPath(QString::fromUtf8(file.readLine()));
}

QStringList SystemdBackend::ourUnits(const Place &place, const QString &stem) {
    QStringList names;
    for (const QString &suffix : unitSuffixes) {
        if (markedPath(place, stem + suffix))
            names.append(stem + suffix);
    }
    return names;
}

bool SystemdBackend::checkFree(const Place &place, const QString &name, QString *error) const {
    const QString file = unitFile(place, name);
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) {
        if (markedPath(place, name))
            return true;
        *error = QStringLiteral("%1 is a unit that Vandra did not write; rename the job").arg(name);
        return false;
    }
    std::optional<QString> fragment;
    if (place.isManaged) {
        fragment = m_manager.fragmentPath(name, error);
        if (!fragment)
            return false;
    } else {
        for (const QString &folder : m_setup.agentSearchFolders) {
            if (QFileInfo::exists(folder + QLatin1Char('/') + name))
                fragment = folder + QLatin1Char('/') + name;
        }
    }
    if (fragment && !fragment->isEmpty()) {
        *error =
            QStringLiteral("the unit %1 exists already (%2); rename the job").arg(name, *fragment);
        return false;
    }
    return true;
}

bool SystemdBackend::writeUnit(const Place &place, const SystemdUnit &unit, QString *error) {
    if (!QDir().mkpath(place.folder)) {
        *error = QStringLiteral("cannot make %1").arg(place.folder);
        return false;
    }
    const QString file = unitFile(place, unit.name);
    if (!PlistCodec::writeFileAtomically(file, unit.text.toUtf8(), error))
        return false;
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return true;
}

bool SystemdBackend::enable(const Place &place, const QList<SystemdUnit> &units, QString *error) {
    QStringList files;
    for (const SystemdUnit &unit : units) {
        if (!unit.wantedBy.isEmpty())
            files.append(unitFile(place, unit.name));
    }
    if (files.isEmpty())
        return true;
    if (place.isManaged) {
        if (!m_manager.enable(files, error))
            return false;
        for (const QString &file : std::as_const(files)) {
            if (!m_manager.start(QFileInfo(file).fileName(), error))
                return false;
        }
        return true;
    }
    // What systemctl --global enable does: every user's manager starts the units at login.
    for (const SystemdUnit &unit : units) {
        if (unit.wantedBy.isEmpty())
            continue;
        const QString folder = wantsFolder(place.folder, unit.wantedBy);
        const QString link = folder + QLatin1Char('/') + unit.name;
        QFile::remove(link);
        if (!QDir().mkpath(folder) || !QFile::link(QStringLiteral("../") + unit.name, link)) {
            *error = QStringLiteral("cannot link %1").arg(link);
            return false;
        }
    }
    return true;
}

bool SystemdBackend::remove(const Place &place, const QStringList &names, QString *error) {
    if (names.isEmpty())
        return true;
    if (place.isManaged) {
        // Triggers first, so that nothing starts the service again while it stops.
        for (const QString &name : names) {
            if (!m_manager.stop(name, error))
                return false;
        }
        if (!m_manager.disable(names, error))
            return false;
    } else {
        const QStringList wants =
            QDir(place.folder)
                .entryList({QStringLiteral("*.wants")}, QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString &want : wants) {
            for (const QString &name : names)
                QFile::remove(place.folder + QLatin1Char('/') + want + QLatin1Char('/') + name);
        }
    }
    for (const QString &name : names) {
        if (!QFile::remove(unitFile(place, name))) {
            *error = QStringLiteral("cannot remove %1").arg(unitFile(place, name));
            return false;
        }
    }
    return !place.isManaged || m_manager.reload(error);
}

bool SystemdBackend::load(const QString &label, const QString &path, QString *error) {
    if (isTestJob(path))
        return m_setup.testJobs->load(label, path, error);
    const PlistReadResult read = PlistFile::read(path);
    if (!read.ok() || !read.value->dict()) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    const Place place = placeOf(path);
    const SystemdUnits units =
        SystemdUnitGenerator::generate(*read.value->dict(), place.scope, path);
    if (units.units.isEmpty()) {
        QStringList reasons;
        for (const SystemdNote &note : units.notes)
            reasons.append(note.key + QStringLiteral(": ") + note.reason);
        *error = QStringLiteral("the job cannot run under systemd (%1)")
                     .arg(reasons.join(QStringLiteral("; ")));
        return false;
    }
    for (const SystemdUnit &unit : units.units) {
        if (!checkFree(place, unit.name, error))
            return false;
    }
    // A timer or path unit the job no longer needs goes, along with the units being replaced.
    const QString stem = units.units.constFirst().name.section(QLatin1Char('.'), 0, -2);
    if (!remove(place, ourUnits(place, stem), error))
        return false;
    for (const SystemdUnit &unit : units.units) {
        if (!writeUnit(place, unit, error))
            return false;
    }
    if (place.isManaged && !m_manager.reload(error))
        return false;
    return units.isDisabled || enable(place, units.units, error);
}

bool SystemdBackend::unloadFrom(const Place &place, const std::optional<QString> &label,
                                const std::optional<QString> &path, QString *error) {
    QStringList names;
    const auto stem =
        label && !label->isEmpty() ? SystemdUnitGenerator::unitStem(*label) : std::nullopt;
    for (const QString &suffix : stem ? unitSuffixes : QStringList()) {
        const QString name = *stem + suffix;
        if (!QFileInfo::exists(unitFile(place, name)))
            continue;
        if (!markedPath(place, name)) {
            *error = QStringLiteral("%1 is a unit that Vandra did not write; it is left alone")
                         .arg(name);
            return false;
        }
        names.append(name);
    }
    if (path) {
        for (const QString &name : QDir(place.folder).entryList(QDir::Files)) {
            if (!names.contains(name) && markedPath(place, name) == *path)
                names.append(name);
        }
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return !a.endsWith(QStringLiteral(".service")) && b.endsWith(QStringLiteral(".service"));
    });
    return remove(place, names, error);
}

bool SystemdBackend::unload(const std::optional<QString> &label, const std::optional<QString> &path,
                            QString *error) {
    if (isTestJob(path) || (!path && label && m_setup.testJobs->isLoaded(*label)))
        return m_setup.testJobs->unload(label, path, error);
    if (path)
        return unloadFrom(placeOf(*path), label, path, error);
    for (const Place &place : places()) {
        if (!unloadFrom(place, label, path, error))
            return false;
    }
    return true;
}

bool SystemdBackend::isLoaded(const QString &label) const {
    return pathOf(label).has_value();
}

std::optional<QString> SystemdBackend::pathOf(const QString &label) const {
    if (const auto test = m_setup.testJobs->pathOf(label))
        return test;
    const auto stem = SystemdUnitGenerator::unitStem(label);
    if (!stem)
        return std::nullopt;
    for (const Place &place : places()) {
        if (const auto path = markedPath(place, *stem + QStringLiteral(".service")))
            return path;
    }
    return std::nullopt;
}

std::optional<std::pair<SystemdBackend::Place, QString>>
SystemdBackend::serviceOf(const QString &label) const {
    const auto stem = SystemdUnitGenerator::unitStem(label);
    if (!stem)
        return std::nullopt;
    const QString service = *stem + QStringLiteral(".service");
    for (const Place &place : places()) {
        if (markedPath(place, service))
            return std::pair(place, service);
    }
    return std::nullopt;
}

bool SystemdBackend::start(const QString &label, QString *error) {
    const auto service = serviceOf(label);
    if (!service) {
        *error = QStringLiteral("%1 is not loaded").arg(label);
        return false;
    }
    if (!service->first.isManaged) {
        *error = QStringLiteral("%1 runs in each user's own session; start it there").arg(label);
        return false;
    }
    return m_manager.start(service->second, error);
}

bool SystemdBackend::stop(const QString &label, QString *error) {
    const auto service = serviceOf(label);
    if (!service)
        return true;
    if (!service->first.isManaged) {
        *error = QStringLiteral("%1 runs in each user's own session; stop it there").arg(label);
        return false;
    }
    return m_manager.stop(service->second, error);
}

QStringList SystemdBackend::loadedLabels() const {
    QStringList labels;
    for (const Place &place : places()) {
        const QStringList services =
            QDir(place.folder).entryList({QStringLiteral("*.service")}, QDir::Files, QDir::Name);
        for (const QString &service : services) {
            const auto path = markedPath(place, service);
            const PlistReadResult read = path ? PlistFile::read(*path) : PlistReadResult();
            const auto label = read.ok() && read.value->dict()
                                   ? read.value->dict()->value(QStringLiteral("Label")).toString()
                                   : std::nullopt;
            // A unit whose job file is gone or renamed its label is not this job's any more.
            if (label && SystemdUnitGenerator::unitStem(*label).value_or(QString()) +
                                 QStringLiteral(".service") ==
                             service)
                labels.append(*label);
        }
    }
    return labels;
}

std::optional<JobStatus> SystemdBackend::status(const QString &label) const {
    const auto service = serviceOf(label);
    if (!service)
        return std::nullopt;
    const auto &[place, name] = *service;
    if (!place.isManaged)
        return JobStatus{true, false, {}, {}, {}, {}};
    const QString timer = name.chopped(int(qstrlen(".service"))) + QStringLiteral(".timer");
    return m_manager.status(name, markedPath(place, timer) ? timer : QString());
}

std::optional<LoadBackend::JournalUnit> SystemdBackend::journalUnit(const QString &label) const {
    const auto service = serviceOf(label);
    if (!service)
        return std::nullopt;
    return JournalUnit{service->second, service->first.scope != SystemdScope::system};
}

void SystemdBackend::watch(std::function<void()> changed) {
    m_watcher = std::make_unique<SystemdWatcher>(m_manager.bus());
    QObject::connect(m_watcher.get(), &SystemdWatcher::unitChanged, m_watcher.get(),
                     [this, changed = std::move(changed)](const QString &unit) {
                         // Only our own units' changes matter to the jobs' status.
                         for (const Place &place : places()) {
                             if (markedPath(place, unit)) {
                                 changed();
                                 return;
                             }
                         }
                     });
    if (!m_watcher->start())
        m_watcher.reset();
}

} // namespace Vandra

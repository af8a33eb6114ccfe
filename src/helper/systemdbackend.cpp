#include "helper/systemdbackend.h"

#include "helper/plistfile.h"
#include "platform/plistcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QStringList unitSuffixes{QStringLiteral(".timer"), QStringLiteral(".path"),
                               QStringLiteral(".service")};

} // namespace

SystemdBackend::SystemdBackend(const SystemdManager &manager, Setup setup)
    : m_manager(manager)
    , m_setup(std::move(setup)) {}

bool SystemdBackend::isTestJob(const std::optional<QString> &path) const {
    return path && !m_setup.testFolder.isEmpty() &&
           path->startsWith(m_setup.testFolder + QLatin1Char('/'));
}

QString SystemdBackend::unitFile(const QString &name) const {
    return m_setup.unitFolder + QLatin1Char('/') + name;
}

std::optional<QString> SystemdBackend::markedPath(const QString &name) const {
    QFile file(unitFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return SystemdUnitGenerator::markedJobPath(QString::fromUtf8(file.readLine()));
}

QStringList SystemdBackend::ourUnits(const QString &stem) const {
    QStringList names;
    for (const QString &suffix : unitSuffixes) {
        if (markedPath(stem + suffix))
            names.append(stem + suffix);
    }
    return names;
}

bool SystemdBackend::checkFree(const QString &name, QString *error) const {
    const QString file = unitFile(name);
    if (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) {
        if (markedPath(name))
            return true;
        *error = QStringLiteral("%1 is a unit that Vandra did not write; rename the job").arg(name);
        return false;
    }
    const auto fragment = m_manager.fragmentPath(name, error);
    if (!fragment)
        return false;
    if (!fragment->isEmpty()) {
        *error =
            QStringLiteral("the unit %1 exists already (%2); rename the job").arg(name, *fragment);
        return false;
    }
    return true;
}

bool SystemdBackend::writeUnit(const SystemdUnit &unit, QString *error) const {
    if (!QDir().mkpath(m_setup.unitFolder)) {
        *error = QStringLiteral("cannot make %1").arg(m_setup.unitFolder);
        return false;
    }
    if (!PlistCodec::writeFileAtomically(unitFile(unit.name), unit.text.toUtf8(), error))
        return false;
    QFile::setPermissions(unitFile(unit.name), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ReadGroup | QFile::ReadOther);
    return true;
}

bool SystemdBackend::remove(const QStringList &names, QString *error) {
    if (names.isEmpty())
        return true;
    // Triggers first, so that nothing starts the service again while it stops.
    for (const QString &name : names) {
        if (!m_manager.stop(name, error))
            return false;
    }
    if (!m_manager.disable(names, error))
        return false;
    for (const QString &name : names) {
        if (!QFile::remove(unitFile(name))) {
            *error = QStringLiteral("cannot remove %1").arg(unitFile(name));
            return false;
        }
    }
    return m_manager.reload(error);
}

bool SystemdBackend::load(const QString &label, const QString &path, QString *error) {
    if (isTestJob(path))
        return m_setup.testJobs->load(label, path, error);
    const PlistReadResult read = PlistFile::read(path);
    if (!read.ok() || !read.value->dict()) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    const SystemdUnits units =
        SystemdUnitGenerator::generate(*read.value->dict(), m_setup.scope, path);
    if (units.units.isEmpty()) {
        QStringList reasons;
        for (const SystemdNote &note : units.notes)
            reasons.append(note.key + QStringLiteral(": ") + note.reason);
        *error = QStringLiteral("the job cannot run under systemd (%1)")
                     .arg(reasons.join(QStringLiteral("; ")));
        return false;
    }
    const QString stem = units.units.constFirst().name.section(QLatin1Char('.'), 0, -2);
    QStringList written;
    for (const SystemdUnit &unit : units.units) {
        if (!checkFree(unit.name, error))
            return false;
        written.append(unit.name);
    }
    // A timer or path unit the job no longer needs goes, along with the units being replaced.
    if (!remove(ourUnits(stem), error))
        return false;
    QStringList installed;
    for (const SystemdUnit &unit : units.units) {
        if (!writeUnit(unit, error))
            return false;
        if (unit.isInstalled)
            installed.append(unitFile(unit.name));
    }
    if (!m_manager.reload(error))
        return false;
    if (units.isDisabled || installed.isEmpty())
        return true;
    if (!m_manager.enable(installed, error))
        return false;
    for (const QString &file : std::as_const(installed)) {
        if (!m_manager.start(QFileInfo(file).fileName(), error))
            return false;
    }
    return true;
}

bool SystemdBackend::unload(const std::optional<QString> &label, const std::optional<QString> &path,
                            QString *error) {
    if (isTestJob(path))
        return m_setup.testJobs->unload(label, path, error);
    if (label && m_setup.testJobs->isLoaded(*label) && !path)
        return m_setup.testJobs->unload(label, path, error);

    QStringList names;
    if (label && !label->isEmpty()) {
        if (const auto stem = SystemdUnitGenerator::unitStem(*label)) {
            for (const QString &suffix : unitSuffixes) {
                const QString name = *stem + suffix;
                if (!QFileInfo::exists(unitFile(name)))
                    continue;
                if (!markedPath(name)) {
                    *error = QStringLiteral("%1 is a unit that Vandra did not write; it is left "
                                            "alone")
                                 .arg(name);
                    return false;
                }
                names.append(name);
            }
        }
    }
    if (path) {
        const QDir folder(m_setup.unitFolder);
        for (const QString &name : folder.entryList(QDir::Files)) {
            if (!names.contains(name) && markedPath(name) == *path)
                names.append(name);
        }
    }
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return !a.endsWith(QStringLiteral(".service")) && b.endsWith(QStringLiteral(".service"));
    });
    return remove(names, error);
}

bool SystemdBackend::isLoaded(const QString &label) const {
    return pathOf(label).has_value();
}

std::optional<QString> SystemdBackend::pathOf(const QString &label) const {
    if (const auto test = m_setup.testJobs->pathOf(label))
        return test;
    const auto stem = SystemdUnitGenerator::unitStem(label);
    return stem ? markedPath(*stem + QStringLiteral(".service")) : std::nullopt;
}

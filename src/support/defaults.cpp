#include "support/defaults.h"

#include "support/locations.h"
#include "support/userdefaultskeys.h"

#include <utility>

namespace Vandra {

namespace {

constexpr int pendingWriteMs = 1000;

} // namespace

Defaults::Defaults() {
    m_pendingWrite.setSingleShot(true);
    m_pendingWrite.setInterval(pendingWriteMs);
    connect(&m_pendingWrite, &QTimer::timeout, this, &Defaults::sync);
    reload();
}

void Defaults::registerDefaults() {
    namespace Key = UserDefaultsKeys;
    // In this order: the text views' defaults, then the program's settings.
    const std::pair<QString, QVariant> entries[] = {
        {Key::editorFontFamily, QStringLiteral("Monospace")},
        {Key::editorFontSize, 12},
        {Key::editorTabWidth, 4},
        {Key::editorWrapsLines, false},

        {Key::showSystemJobs, false},
        {Key::showInternalHelpers, false},
        {Key::automaticHelp, true},
        {Key::automaticPATH, true},
        {Key::runAgent, true},
        {Key::numberOfSavedRevisions, 12},
        {Key::selectedMode, 0},
        {Key::exceptions, QString()},
        {Key::preferFullScreen, false},
        {Key::preferencesTab, 0},
        {Key::resume, true},
        {Key::hasManuallyChangedTheme, false},
        {Key::logLength, 0},
        {Key::logPeriod, 1},
        {Key::firstMajorVersionLaunch, true},
        {Key::editSystemJobs, false},
        {Key::automaticallyCheckForUpdate, true},
    };
    for (const auto &[key, value] : entries)
        m_registered.insert(key, value);
}

QVariant Defaults::registeredDefault(const QString &key) const {
    return m_registered.value(key);
}

QVariant Defaults::value(const QString &key) const {
    if (m_settings->contains(key))
        return m_settings->value(key);
    return m_registered.value(key);
}

bool Defaults::contains(const QString &key) const {
    return m_settings->contains(key);
}

void Defaults::setValue(const QString &key, const QVariant &value) {
    if (!value.isValid()) {
        remove(key);
        return;
    }
    m_settings->setValue(key, value);
    // Written at once: the helpers and the command-line tool read the same file.
    sync();
    Q_EMIT changed(key);
}

void Defaults::setValueSoon(const QString &key, const QVariant &value) {
    if (!value.isValid()) {
        remove(key);
        return;
    }
    m_settings->setValue(key, value);
    if (!m_pendingWrite.isActive())
        m_pendingWrite.start();
    Q_EMIT changed(key);
}

void Defaults::flush() {
    if (m_pendingWrite.isActive())
        sync();
}

void Defaults::sync() {
    m_pendingWrite.stop();
    m_settings->sync();
}

void Defaults::remove(const QString &key) {
    m_settings->remove(key);
    sync();
    Q_EMIT changed(key);
}

// The settings file stores every value as text, so "false" must be read as a Boolean.
bool Defaults::boolValue(const QString &key) const {
    return value(key).toBool();
}

qint64 Defaults::integerValue(const QString &key) const {
    return value(key).toLongLong();
}

void Defaults::negate(const QString &boolKey) {
    setValue(boolKey, !boolValue(boolKey));
}

bool Defaults::showSystemJobs() const {
    return boolValue(UserDefaultsKeys::showSystemJobs);
}

bool Defaults::showInternalHelpers() const {
    return boolValue(UserDefaultsKeys::showInternalHelpers);
}

bool Defaults::automaticHelp() const {
    return boolValue(UserDefaultsKeys::automaticHelp);
}

bool Defaults::automaticPATH() const {
    return boolValue(UserDefaultsKeys::automaticPATH);
}

bool Defaults::runAgent() const {
    return boolValue(UserDefaultsKeys::runAgent);
}

int Defaults::numberOfSavedRevisions() const {
    return int(integerValue(UserDefaultsKeys::numberOfSavedRevisions));
}

int Defaults::selectedMode() const {
    return int(integerValue(UserDefaultsKeys::selectedMode));
}

bool Defaults::preferFullScreen() const {
    return boolValue(UserDefaultsKeys::preferFullScreen);
}

int Defaults::preferencesTab() const {
    return int(integerValue(UserDefaultsKeys::preferencesTab));
}

bool Defaults::resume() const {
    return boolValue(UserDefaultsKeys::resume);
}

bool Defaults::hasManuallyChangedTheme() const {
    return boolValue(UserDefaultsKeys::hasManuallyChangedTheme);
}

int Defaults::logLength() const {
    return int(integerValue(UserDefaultsKeys::logLength));
}

int Defaults::logPeriod() const {
    return int(integerValue(UserDefaultsKeys::logPeriod));
}

bool Defaults::firstMajorVersionLaunch() const {
    return boolValue(UserDefaultsKeys::firstMajorVersionLaunch);
}

bool Defaults::editSystemJobs() const {
    return boolValue(UserDefaultsKeys::editSystemJobs);
}

bool Defaults::automaticallyCheckForUpdate() const {
    return boolValue(UserDefaultsKeys::automaticallyCheckForUpdate);
}

bool Defaults::suppressAlertComplexRun() const {
    return boolValue(UserDefaultsKeys::suppressAlertComplexRun);
}

void Defaults::reload() {
    if (m_settings)
        sync();
    m_settings =
        std::make_unique<QSettings>(Locations::shared().settingsFile(), QSettings::IniFormat);
}

} // namespace Vandra

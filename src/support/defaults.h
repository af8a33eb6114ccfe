#pragma once

#include "support/sharedinstance.h"

#include <QObject>
#include <QSettings>
#include <QTimer>
#include <QVariant>

#include <memory>

namespace Vandra {

// The user-defaults store: QSettings in the settings file of the locations, with the
// registered defaults of the program and typed accessors for each setting.
class Defaults final : public QObject, public SharedInstance<Defaults> {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Defaults)

public:
    // Reads the settings file of the current locations.
    Defaults();

    // Registers the program's defaults; a registered default is what a read of an unset
    // key gives. Stored values are never overwritten.
    void registerDefaults();
    [[nodiscard]] QVariant registeredDefault(const QString &key) const;

    [[nodiscard]] QVariant value(const QString &key) const;
    [[nodiscard]] bool contains(const QString &key) const; // stored, not registered
    // Stores and writes the value at once; an invalid value removes the key.
    void setValue(const QString &key, const QVariant &value);
    // Stores the value and writes it within a second, with whatever else is pending: for the
    // window's own state (its mode, its columns), which no other program reads and which
    // changes as the user clicks. Writing the file waits for the disk.
    void setValueSoon(const QString &key, const QVariant &value);
    // Writes what setValueSoon left pending.
    void flush();
    void remove(const QString &key);
    [[nodiscard]] bool boolValue(const QString &key) const;
    [[nodiscard]] qint64 integerValue(const QString &key) const;
    // Flips a Boolean setting.
    void negate(const QString &boolKey);

    [[nodiscard]] bool showSystemJobs() const;
    [[nodiscard]] bool showInternalHelpers() const;
    [[nodiscard]] bool automaticHelp() const;
    [[nodiscard]] bool automaticPATH() const;
    [[nodiscard]] bool runAgent() const;
    [[nodiscard]] int numberOfSavedRevisions() const;
    [[nodiscard]] int selectedMode() const;
    [[nodiscard]] bool preferFullScreen() const;
    [[nodiscard]] int preferencesTab() const;
    [[nodiscard]] bool resume() const;
    [[nodiscard]] bool hasManuallyChangedTheme() const;
    [[nodiscard]] int logLength() const;
    [[nodiscard]] int logPeriod() const;
    [[nodiscard]] bool firstMajorVersionLaunch() const;
    [[nodiscard]] bool editSystemJobs() const;
    [[nodiscard]] bool automaticallyCheckForUpdate() const;
    [[nodiscard]] bool suppressAlertComplexRun() const;

    // Writes pending values, then reopens the settings file of the current locations (for
    // tests that switch roots). Registered defaults are kept.
    void reload();

Q_SIGNALS:
    // After every setValue, remove and negate, whether or not the value differs.
    void changed(const QString &key);

private:
    void sync();

    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
    QTimer m_pendingWrite;
};

} // namespace Vandra

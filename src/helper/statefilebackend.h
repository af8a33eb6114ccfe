#pragma once

#include "helper/loadbackend.h"
#include "platform/plistvalue.h"

#include <QList>
#include <QString>

class FileLock;

// The Linux load backend until a systemd one exists: a property list that records which
// jobs are loaded, in load order, and the last operations, so that the order and effect of
// requests can be checked.
//
// The file holds a dictionary: "Loaded", an array of {"Label", "Path"} in load order, and
// "History", an array of {"Operation" ("load" or "unload"), "Label", "Path"}, oldest first,
// keeping the last historyLimit operations.
// The file is replaced whole and atomically on every change.
class StateFileBackend final : public LoadBackend {
public:
    struct Entry {
        QString label;
        QString path;

        friend bool operator==(const Entry &, const Entry &) = default;
    };

    static constexpr int historyLimit = 200;

    explicit StateFileBackend(QString stateFile)
        : m_stateFile(std::move(stateFile)) {}

    bool load(const QString &label, const QString &path, QString *error) override;
    bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                QString *error) override;
    [[nodiscard]] bool isLoaded(const QString &label) const override;
    [[nodiscard]] std::optional<QString> pathOf(const QString &label) const override;

    [[nodiscard]] QList<Entry> loaded() const;
    [[nodiscard]] const QString &stateFile() const { return m_stateFile; }

private:
    // How long a change waits for another helper's change to the record, in ms.
    static constexpr int lockTimeout = 10000;

    // The lock is the kernel's and goes with a helper that is killed, so a change never
    // waits for a helper that is gone.
    bool lock(FileLock &file, QString *error) const;
    void removeTemporaries() const;
    [[nodiscard]] PlistDict read() const;
    [[nodiscard]] static QList<Entry> entries(const PlistDict &state);
    bool write(const PlistDict &state, QString *error) const;

    QString m_stateFile;
};

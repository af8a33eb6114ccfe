#pragma once

#include "helper/loadbackend.h"
#include "platform/plistvalue.h"

#include <QList>
#include <QString>

namespace Vandra {

class FileLock;

// The Linux load backend where no systemd manager answers: a property list that records which
// jobs are loaded, in load order, and the last operations, so that the order and effect of
// requests can be checked. Nothing runs the jobs it records, so none of them is ever running
// and starting one is refused: a job started by the helper itself would run unsupervised,
// without its schedule or keep-alive, and end with the helper, which is not what loading
// promises. A test run is the way to run such a job once.
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

    [[nodiscard]] QString name() const override { return QStringLiteral("state file"); }
    bool load(const QString &label, const QString &path, QString *error) override;
    bool unload(const std::optional<QString> &label, const std::optional<QString> &path,
                QString *error) override;
    [[nodiscard]] bool isLoaded(const QString &label) const override;
    [[nodiscard]] std::optional<QString> pathOf(const QString &label) const override;
    bool start(const QString &label, QString *error) override;
    bool stop(const QString &label, QString *error) override;
    [[nodiscard]] QStringList loadedLabels() const override;
    [[nodiscard]] std::optional<JobStatus> status(const QString &label) const override;

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

} // namespace Vandra

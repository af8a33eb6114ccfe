#pragma once

#include "common/testroot.h"
#include "model/kind.h"
#include "store/jobdiscovery.h"

#include <QDeadlineTimer>
#include <QFile>

namespace Vandra {

// A temporary machine with the job files of tests/data/ui placed in the kinds' folders.
class UiTestRoot final {
public:
    UiTestRoot() = default;
    // A list still being read comes from this root; it ends before the root goes.
    ~UiTestRoot() {
        QDeadlineTimer deadline(30000);
        while (JobDiscovery::isReloading() && !deadline.hasExpired())
            QTest::qWait(20);
    }
    UiTestRoot(const UiTestRoot &) = delete;
    UiTestRoot &operator=(const UiTestRoot &) = delete;

    [[nodiscard]] const TestRoot &root() const { return m_root; }

    // Copies tests/data/ui/<name> into the folder of kind, as fileName (the same name when
    // empty); returns the copy's path.
    QString place(const QString &name, Kind kind, const QString &fileName = QString()) const {
        const QString folder = *Kinds::url(kind);
        QDir().mkpath(folder);
        const QString target = folder + QLatin1Char('/') + (fileName.isEmpty() ? name : fileName);
        QFile::remove(target);
        QFile::copy(dataFile(name), target);
        return target;
    }

    // The usual machine: three user agents, a local agent, a local daemon and a system agent.
    void placeUsualJobs() const {
        place(QStringLiteral("backup.plist"), Kind::userAgent);
        place(QStringLiteral("job2.plist"), Kind::userAgent);
        place(QStringLiteral("job10.plist"), Kind::userAgent);
        place(QStringLiteral("cafe.plist"), Kind::localAgent);
        place(QStringLiteral("daemon.plist"), Kind::localDaemon);
        place(QStringLiteral("system.plist"), Kind::systemAgent);
    }

    static QString dataFile(const QString &name) {
        return qEnvironmentVariable("VANDRA_TEST_DATA") + QStringLiteral("/ui/") + name;
    }

private:
    TestRoot m_root;
};

} // namespace Vandra

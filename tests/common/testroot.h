#pragma once

#include "model/bindings.h"
#include "model/joblist.h"
#include "model/kind.h"
#include "support/defaults.h"
#include "support/locations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace Vandra {

// A fresh machine under a temporary root: locations, settings, kind lists, the job list and
// the editor's flags start as in a new process.
class TestRoot final {
public:
    TestRoot() {
        QVERIFY2(m_dir.isValid(), "cannot make a temporary root");
        Locations::initialize(m_dir.path());
        Defaults::shared().reload();
        Defaults::shared().registerDefaults();
        Kinds::resetForTesting();
        JobList::shared().reset();
        Bindings::shared().reset();
    }

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString path(const QString &relative) const {
        return m_dir.path() + QLatin1Char('/') + relative;
    }

    // Writes bytes to a file under the root, making its folders.
    QString write(const QString &relative, const QByteArray &bytes) const {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).path());
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return {};
        out.write(bytes);
        return file;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace Vandra

#pragma once

#include "actions/actioncontroller.h"

#include <QDir>
#include <QString>

namespace Vandra {

// What a controller needs to reach this build's helpers, each confined to a test's root: the
// service listens at run/helper.sock below it.
inline ActionController::Setup rootedHelperSetup(const QString &root) {
    const QDir bin(qEnvironmentVariable("VANDRA_BIN"));
    ActionController::Setup setup;
    setup.serviceSocket = root + QStringLiteral("/run/helper.sock");
    setup.serviceProgram = bin.filePath(QStringLiteral("vandra-helper"));
    setup.privilegedProgram = bin.filePath(QStringLiteral("vandra-privileged-helper"));
    setup.helperArguments = {QStringLiteral("--root"), root};
    return setup;
}

} // namespace Vandra

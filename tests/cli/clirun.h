#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace Vandra {

// Runs vandractl from the build's bin folder and collects what it prints.
struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    static CliRun
    run(const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) {
        CliRun result;
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("VANDRA_BIN") + QStringLiteral("/vandractl"), arguments);
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return result;
        }
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = process.readAllStandardOutput();
        result.err = process.readAllStandardError();
        return result;
    }
};

} // namespace Vandra

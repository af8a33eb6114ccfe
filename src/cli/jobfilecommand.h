#pragma once

#include "model/job.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QStringList>

namespace Vandra {

// The arguments shared by the commands that read one job file: FILE, --kind and --root.
class JobFileCommand final {
public:
    JobFileCommand(const QString &name, const QList<QCommandLineOption> &options);

    // Parses arguments and reads the file. Returns 0 with job() set, or the exit code after
    // a message on standard error.
    [[nodiscard]] int read(const QStringList &arguments);

    [[nodiscard]] const QCommandLineParser &parser() const { return m_parser; }
    [[nodiscard]] const JobPtr &job() const { return m_job; }

private:
    QString m_name;
    QCommandLineParser m_parser;
    JobPtr m_job;
};

} // namespace Vandra

#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// The command line both helpers take.
struct HelperOptions {
    QString socketPath; // empty: the helper's default
    QString root;
    int idleTimeout = 300;   // seconds without clients before the service ends
    int testTimeout = 10;    // seconds a test run may take before it is stopped
    int journalTimeout = 30; // seconds a log query may take
    int frameTimeout = 30;   // seconds a client may take to send one whole request

    // None, with a message in error, when the arguments are not understood.
    [[nodiscard]] static std::optional<HelperOptions> parse(const QStringList &arguments,
                                                            QString *error);
};

} // namespace Vandra

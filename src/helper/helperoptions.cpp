#include "helperoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(HelperOptions)
};

std::optional<int> seconds(const QCommandLineParser &parser, const QCommandLineOption &option,
                           int fallback, QString *error) {
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value <= 0) {
        *error =
            Texts::tr("--%1 needs a positive number of seconds").arg(option.names().constFirst());
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<HelperOptions> HelperOptions::parse(const QStringList &arguments, QString *error) {
    QCommandLineParser parser;
    const QCommandLineOption socket(QStringLiteral("socket"), Texts::tr("Listen at PATH."),
                                    QStringLiteral("PATH"));
    const QCommandLineOption root(QStringLiteral("root"),
                                  Texts::tr("Prefix every location with R."), QStringLiteral("R"));
    const QCommandLineOption idle(QStringLiteral("idle-timeout"),
                                  Texts::tr("End after SECONDS without clients."),
                                  QStringLiteral("SECONDS"));
    const QCommandLineOption test(QStringLiteral("test-timeout"),
                                  Texts::tr("Stop a test run after SECONDS."),
                                  QStringLiteral("SECONDS"));
    const QCommandLineOption journal(QStringLiteral("log-timeout"),
                                     Texts::tr("Give up a log query after SECONDS."),
                                     QStringLiteral("SECONDS"));
    const QCommandLineOption frame(QStringLiteral("frame-timeout"),
                                   Texts::tr("Close a client that takes SECONDS to send "
                                             "one request."),
                                   QStringLiteral("SECONDS"));
    parser.addOptions({socket, root, idle, test, journal, frame});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error = Texts::tr("unexpected argument %1").arg(parser.positionalArguments().constFirst());
        return std::nullopt;
    }
    HelperOptions options;
    options.socketPath = parser.value(socket);
    options.root = parser.value(root);
    // The environment sets the default so that a helper started by the program can be tuned.
    bool ok = false;
    const int idleFromEnvironment = qEnvironmentVariableIntValue("VANDRA_HELPER_IDLE_TIMEOUT", &ok);
    if (ok && idleFromEnvironment > 0)
        options.idleTimeout = idleFromEnvironment;
    const int testFromEnvironment = qEnvironmentVariableIntValue("VANDRA_TEST_TIMEOUT", &ok);
    if (ok && testFromEnvironment > 0)
        options.testTimeout = testFromEnvironment;
    const auto idleSeconds = seconds(parser, idle, options.idleTimeout, error);
    const auto testSeconds = seconds(parser, test, options.testTimeout, error);
    const auto journalSeconds = seconds(parser, journal, options.journalTimeout, error);
    const auto frameSeconds = seconds(parser, frame, options.frameTimeout, error);
    if (!idleSeconds || !testSeconds || !journalSeconds || !frameSeconds)
        return std::nullopt;
    options.frameTimeout = *frameSeconds;
    options.idleTimeout = *idleSeconds;
    options.testTimeout = *testSeconds;
    options.journalTimeout = *journalSeconds;
    return options;
}

} // namespace Vandra

#include "app/launchoptions.h"

#include <QCommandLineParser>

namespace {

int modeFromText(const QString &text) {
    const QStringList names = {QStringLiteral("grid"), QStringLiteral("tree"),
                               QStringLiteral("list"), QStringLiteral("timeline")};
    const qsizetype named = names.indexOf(text.toLower());
    if (named >= 0)
        return int(named);
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    return isNumber ? number : 0;
}

} // namespace

LaunchOptions LaunchOptions::parse(const QStringList &arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("An editor of launchd background jobs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("url"), QStringLiteral("A job URL to open."),
                                 QStringLiteral("[url]"));
    parser.addOption({QStringLiteral("root"),
                      QStringLiteral("Work on the machine under this folder."),
                      QStringLiteral("folder")});

    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("file"));
    QCommandLineOption mode(QStringLiteral("screenshot-mode"), QString(), QStringLiteral("mode"));
    QCommandLineOption select(QStringLiteral("select"), QString(), QStringLiteral("label"));
    QCommandLineOption dark(QStringLiteral("dark"));
    for (QCommandLineOption *option : {&screenshot, &mode, &select, &dark}) {
        option->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(*option);
    }
    parser.process(arguments);

    LaunchOptions options;
    options.urls = parser.positionalArguments();
    options.screenshotFile = parser.value(screenshot);
    options.screenshotMode = modeFromText(parser.value(mode));
    options.selectLabel = parser.value(select);
    options.isDark = parser.isSet(dark);
    return options;
}

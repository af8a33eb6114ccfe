#include "app/launchoptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace Vandra {

namespace {

class Texts {
    Q_DECLARE_TR_FUNCTIONS(LaunchOptions)
};

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
    parser.setApplicationDescription(Texts::tr("An editor of launchd background jobs."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("url"), Texts::tr("A job URL to open."),
                                 QStringLiteral("[url]"));
    parser.addOption({QStringLiteral("root"), Texts::tr("Work on the machine under this folder."),
                      QStringLiteral("folder")});

    QCommandLineOption screenshot(QStringLiteral("screenshot"), QString(), QStringLiteral("file"));
    QCommandLineOption mode(QStringLiteral("screenshot-mode"), QString(), QStringLiteral("mode"));
    QCommandLineOption select(QStringLiteral("select"), QString(), QStringLiteral("label"));
    QCommandLineOption page(QStringLiteral("screenshot-page"), QString(), QStringLiteral("page"));
    QCommandLineOption test(QStringLiteral("screenshot-test"));
    QCommandLineOption dark(QStringLiteral("dark"));
    QCommandLineOption set(QStringLiteral("screenshot-set"), QString(), QStringLiteral("set"));
    for (QCommandLineOption *option : {&screenshot, &mode, &select, &page, &test, &dark, &set}) {
        option->setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(*option);
    }
    parser.process(arguments);

    LaunchOptions options;
    options.urls = parser.positionalArguments();
    options.screenshotFile = parser.value(screenshot);
    options.screenshotMode = modeFromText(parser.value(mode));
    options.selectLabel = parser.value(select);
    const QStringList pages = {QStringLiteral("job"), QStringLiteral("when"),
                               QStringLiteral("advanced")};
    options.screenshotPage = int(qMax(qsizetype(0), pages.indexOf(parser.value(page))));
    options.isTestShown = parser.isSet(test);
    options.isDark = parser.isSet(dark);
    options.screenshotSet = parser.value(set);
    return options;
}

} // namespace Vandra

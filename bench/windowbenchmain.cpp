// vandra-bench-window --root ROOT [--repeats N] [--modes grid,tree,...] [--verbose]: the main
// window on ROOT, offscreen unless told otherwise, driven through the steps of WindowBench; prints
// their costs as JSON.
#include "model/programobjects.h"
#include "support/const.h"
#include "support/locations.h"
#include "support/translations.h"
#include "ui/window/appcontroller.h"
#include "ui/window/mainwindow.h"
#include "windowbench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

using namespace Vandra;

int main(int argc, char *argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(Const::AppName::vandrax);
    Translations::install(app);

    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("root"), QStringLiteral("The root to open."), QStringLiteral("root")});
    parser.addOption({QStringLiteral("repeats"),
                      QStringLiteral("Keystrokes and switches per kind."), QStringLiteral("n"),
                      QStringLiteral("5")});
    parser.addOption({QStringLiteral("modes"), QStringLiteral("The modes to measure, by name."),
                      QStringLiteral("modes"), QStringLiteral("grid,tree,list,timeline")});
    parser.addOption(
        {QStringLiteral("verbose"), QStringLiteral("Each step's time as it is taken.")});
    parser.process(app);
    Locations::initialize(parser.value(QStringLiteral("root")));
    const ProgramObjects objects;
    const int repeats = std::max(1, parser.value(QStringLiteral("repeats")).toInt());

    AppController controller;
    controller.prepare();
    WindowBench bench(*controller.window(),
                      parser.value(QStringLiteral("modes")).split(u',', Qt::SkipEmptyParts),
                      repeats, parser.isSet(QStringLiteral("verbose")));
    controller.showWindow();
    QTimer::singleShot(0, &controller, [&controller, &bench] {
        controller.finishLaunching();
        bench.start();
    });
    return QApplication::exec();
}

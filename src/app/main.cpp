#include "app/launchoptions.h"
#include "app/screenshot.h"
#include "model/joblist.h"
#include "model/programobjects.h"
#include "store/jobdiscovery.h"
#include "support/const.h"
#include "support/locations.h"
#include "support/translations.h"
#include "ui/window/appcontroller.h"
#include "ui/window/mainwindow.h"
#include "ui/window/programend.h"
#include "ui/window/singleinstance.h"

#include <QApplication>
#include <QTimer>

#include <memory>

using namespace Vandra;

namespace {

int run(QApplication &app) {
    QApplication::setApplicationName(Const::AppName::vandrax);
    QApplication::setApplicationVersion(QStringLiteral(VANDRA_VERSION));
    Translations::install(app);
    QApplication::setDesktopFileName(QStringLiteral("vandra"));
    Locations::initialize(Locations::rootFromArguments(QApplication::arguments()));
    const ProgramObjects objects;
    const LaunchOptions options = LaunchOptions::parse(QApplication::arguments());
    const bool isScreenshot = !options.screenshotFile.isEmpty();

    // One instance per user: a second one hands its URLs to the first and ends.
    auto *instance = new SingleInstance(SingleInstance::defaultSocketPath(), &app);
    if (!isScreenshot && !instance->listen()) {
        if (SingleInstance::send(SingleInstance::defaultSocketPath(), options.urls))
            return 0;
        // Nobody answers and no socket can be made there: better a program without the
        // hand-over than none at all.
        qWarning("vandra: cannot listen at %s; job URLs from other programs will not arrive",
                 qPrintable(SingleInstance::defaultSocketPath()));
    }
    if (options.isDark)
        Screenshot::useDarkPalette();

    auto owned = std::make_unique<AppController>();
    AppController &controller = *owned;
    controller.prepare();
    QObject::connect(instance, &SingleInstance::messagesReceived, &controller,
                     &AppController::openUrls);
    MainWindow &window = *controller.window();
    controller.showWindow();

    QTimer::singleShot(0, &controller, [&] {
        const auto withList = [&] {
            if (isScreenshot && !options.screenshotSet.isEmpty())
                Screenshot::takeSet(window, *controller.editor(), controller.services(), options);
            else if (isScreenshot)
                Screenshot::take(window, options);
            else
                controller.openUrls(options.urls);
        };
        controller.finishLaunching();
        // The first list is read on a worker; what looks for jobs in it waits until it is in.
        if (JobDiscovery::isReloading())
            QObject::connect(&JobList::shared(), &JobList::jobsUpdated, &controller, withList,
                             Qt::SingleShotConnection);
        else
            withList();
    });
    const int code = QApplication::exec();
    // What is left of the end may wait for a privileged helper to finish its request; a
    // program started meanwhile opens a window of its own instead of handing its URLs to
    // this one.
    delete instance;
    // Ends the window and writes what is pending before the application object goes.
    owned.reset();
    ProgramEnd::keepJobs(JobList::shared());
    return code;
}

} // namespace

int main(int argc, char *argv[]) {
    int code = 0;
    {
        QApplication app(argc, argv);
        code = run(app);
    }
    return ProgramEnd::end(code);
}

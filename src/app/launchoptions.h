#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// What the command line of the desktop program asks for.
struct LaunchOptions {
    // Job URLs to open.
    QStringList urls;
    // Take a picture of the window instead of running: the file, the mode and the label of
    // the job to select. Hidden from the help: for the screenshots script.
    QString screenshotFile;
    int screenshotMode = 0;
    QString selectLabel;
    // The editor's page to show (0 the job, 1 when, 2 advanced), and whether to take the
    // picture with the test popover open after a test run.
    int screenshotPage = 0;
    bool isTestShown = false;
    // A set of pictures ("sheets", "scripts", "preferences", "commands", "doctor") written into the
    // folder given as the screenshot file, instead of one picture of the window.
    QString screenshotSet;
    bool isDark = false;

    [[nodiscard]] static LaunchOptions parse(const QStringList &arguments);
};

} // namespace Vandra

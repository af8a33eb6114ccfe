#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the command line of the desktop program asks for.
struct LaunchOptions {
    // Job URLs to open.
    QStringList urls;
    // Take a picture of the window instead of running: the file, the mode and the label of
    // the job to select. Hidden from the help: for the screenshots script.
    QString screenshotFile;
    int screenshotMode = 0;
    QString selectLabel;
    bool isDark = false;

    [[nodiscard]] static LaunchOptions parse(const QStringList &arguments);
};

#include "app/screenshot.h"

#include "app/launchoptions.h"
#include "model/joblist.h"
#include "ui/window/mainwindow.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

namespace {

// Long enough for the window to be laid out and painted at its final size.
constexpr int settleMs = 400;

} // namespace

namespace Screenshot {

void useDarkPalette() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette dark;
    const QColor window(0x2b, 0x2b, 0x2d);
    const QColor base(0x1e, 0x1e, 0x20);
    const QColor text(0xe8, 0xe8, 0xea);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x29));
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0xa0));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x38));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::red);
    dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Mid, QColor(0x44, 0x44, 0x48));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x54));
    dark.setColor(QPalette::Dark, QColor(0x18, 0x18, 0x1a));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x86));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x86));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x86));
    QApplication::setPalette(dark);
}

void take(MainWindow &window, const LaunchOptions &options) {
    window.switchMode(options.screenshotMode);
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->label == options.selectLabel) {
            window.selectJob(job);
            break;
        }
    }
    QTimer::singleShot(settleMs, &window, [&window, file = options.screenshotFile] {
        const bool isSaved = window.grab().save(file);
        if (!isSaved)
            std::fprintf(stderr, "vandra: cannot write %s\n", qPrintable(file));
        QCoreApplication::exit(isSaved ? 0 : 1);
    });
}

} // namespace Screenshot

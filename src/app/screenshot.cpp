#include "app/screenshot.h"

#include "actions/testrun.h"
#include "app/launchoptions.h"
#include "model/joblist.h"
#include "ui/editor/detaileditor.h"
#include "ui/editor/testpopover.h"
#include "ui/preferences/preferenceswindow.h"
#include "ui/scripts/scriptscreenshots.h"
#include "ui/sheets/sheetscreenshots.h"
#include "ui/window/commandscreenshots.h"
#include "ui/window/doctorscreenshots.h"
#include "ui/window/jobcommands.h"
#include "ui/window/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPalette>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace Vandra {

namespace {

// Long enough for the window to be laid out and painted at its final size.
constexpr int settleMs = 400;
// For PNG, zlib's fastest level: a third less time than its default for a window's picture,
// and hardly a larger file.
constexpr int pictureQuality = 80;
// How often, and how many times, to look whether a test run has shown its output.
constexpr int testPollMs = 100;
constexpr int testPolls = 200;

// The window with the test popover, a window of its own, drawn where it stands.
QPixmap picture(MainWindow &window) {
    QPixmap shot = window.grab();
    if (TestPopover *popover = window.detailEditor()->testPopover()) {
        QPainter painter(&shot);
        painter.drawPixmap(window.mapFromGlobal(popover->mapToGlobal(QPoint(0, 0))),
                           popover->grab());
    }
    return shot;
}

void save(MainWindow &window, const QString &file) {
    const bool isSaved = picture(window).save(file, nullptr, pictureQuality);
    if (!isSaved)
        std::fprintf(stderr, "vandra: cannot write %s\n", qPrintable(file));
    QCoreApplication::exit(isSaved ? 0 : 1);
}

// Waits, without blocking the window, until the test popover shows its output.
void saveAfterTest(MainWindow &window, const QString &file, int pollsLeft) {
    const TestPopover *popover = window.detailEditor()->testPopover();
    if (pollsLeft > 0 && popover && popover->testRun().isRunning()) {
        QTimer::singleShot(testPollMs, &window, [&window, file, pollsLeft] {
            saveAfterTest(window, file, pollsLeft - 1);
        });
        return;
    }
    QTimer::singleShot(settleMs, &window, [&window, file] { save(window, file); });
}

void selectJob(MainWindow &window, const QString &label) {
    for (const JobPtr &job : JobList::shared().jobs()) {
        if (job->label == label) {
            window.selectJob(job);
            return;
        }
    }
}

void finish(bool isWritten, const QString &what) {
    if (!isWritten)
        std::fprintf(stderr, "vandra: cannot write %s\n", qPrintable(what));
    QCoreApplication::exit(isWritten ? 0 : 1);
}

// One picture per tab of the preferences window: preferences-general.png and so on.
bool writePreferences(MainWindow &window, const QString &folder) {
    window.commands()->showPreferences();
    auto *preferences = window.findChild<PreferencesWindow *>();
    if (!preferences)
        return false;
    preferences->show();
    const QStringList names = {QStringLiteral("general"), QStringLiteral("notifications"),
                               QStringLiteral("advanced"), QStringLiteral("themes")};
    bool isWritten = true;
    QTabWidget *tabs = preferences->tabs();
    for (int tab = 0; tab < tabs->count() && tab < names.size(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        const QString file = QStringLiteral("preferences-%1.png").arg(names.at(tab));
        isWritten = preferences->grab().save(QDir(folder).filePath(file)) && isWritten;
    }
    // The tab shown last is a setting; the pictures leave it where the user had it.
    tabs->setCurrentIndex(0);
    preferences->close();
    return isWritten;
}

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
    selectJob(window, options.selectLabel);
    DetailEditor *editor = window.detailEditor();
    editor->tabs()->setCurrentIndex(options.screenshotPage);
    const QString file = options.screenshotFile;
    if (!options.isTestShown) {
        QTimer::singleShot(settleMs, &window, [&window, file] { save(window, file); });
        return;
    }
    QTimer::singleShot(settleMs, &window, [&window, editor, file] {
        editor->test();
        QTimer::singleShot(testPollMs, &window,
                           [&window, file] { saveAfterTest(window, file, testPolls); });
    });
}

void takeSet(MainWindow &window, JobEditor &editor, const WindowServices &services,
             const LaunchOptions &options) {
    window.switchMode(options.screenshotMode);
    selectJob(window, options.selectLabel);
    const QString folder = options.screenshotFile;
    const QString set = options.screenshotSet;
    QDir().mkpath(folder);
    QTimer::singleShot(settleMs, &window, [&window, &editor, &services, folder, set] {
        if (set == QLatin1String("sheets")) {
            SheetScreenshots::write(folder, &window, services, &editor,
                                    [folder] { finish(true, folder); });
        } else if (set == QLatin1String("scripts")) {
            finish(ScriptScreenshots::write(folder), folder);
        } else if (set == QLatin1String("preferences")) {
            finish(writePreferences(window, folder), folder);
        } else if (set == QLatin1String("commands")) {
            finish(CommandScreenshots::write(folder, window), folder);
        } else if (set == QLatin1String("doctor")) {
            finish(DoctorScreenshots::write(folder, window), folder);
        } else {
            std::fprintf(stderr, "vandra: no set of pictures named %s\n", qPrintable(set));
            QCoreApplication::exit(2);
        }
    });
}

} // namespace Screenshot

} // namespace Vandra

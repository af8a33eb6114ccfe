#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace Vandra {

class JobEditor;
struct WindowServices;

// Pictures of the sheets for the screenshots script, each opened on the current job.
namespace SheetScreenshots {

// Writes plist.png, notes.png, revisions.png and folders.png into folder at once, then
// log.png when the helper has answered the log query (or after a bound), and calls finished.
// window: the main window the sheets belong to.
void write(const QString &folder, QWidget *window, const WindowServices &services,
           JobEditor *editor, const std::function<void()> &finished);

} // namespace SheetScreenshots

} // namespace Vandra

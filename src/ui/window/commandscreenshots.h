#pragma once

#include <QString>

namespace Vandra {

class MainWindow;

// Pictures of the commands for the screenshots script.
namespace CommandScreenshots {

// Writes filemenu.png (the File menu open, a job selected) and contextmenu.png (that job's
// context menu) into folder. A job is selected first when none is; false when a picture could
// not be written.
bool write(const QString &folder, MainWindow &window);

} // namespace CommandScreenshots

} // namespace Vandra

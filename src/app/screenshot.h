#pragma once

namespace Vandra {

class JobEditor;
class MainWindow;
struct LaunchOptions;
struct WindowServices;

// Pictures of the window without a desktop, for the screenshots script.
namespace Screenshot {

// A dark palette on the Fusion style, to check the window in a dark appearance.
void useDarkPalette();
// Shows the mode, selects the job, saves a picture of the whole window and quits.
void take(MainWindow &window, const LaunchOptions &options);
// Selects the job, writes the named set of pictures into the folder and quits.
void takeSet(MainWindow &window, JobEditor &editor, const WindowServices &services,
             const LaunchOptions &options);

} // namespace Screenshot

} // namespace Vandra

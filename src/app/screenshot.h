#pragma once

class MainWindow;
struct LaunchOptions;

// Pictures of the window without a desktop, for the screenshots script.
namespace Screenshot {

// A dark palette on the Fusion style, to check the window in a dark appearance.
void useDarkPalette();
// Shows the mode, selects the job, saves a picture of the whole window and quits.
void take(MainWindow &window, const LaunchOptions &options);

} // namespace Screenshot

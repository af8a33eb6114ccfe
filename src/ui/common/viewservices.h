#pragma once

namespace Vandra {

class JobHealth;
class JobStatusSource;
class ProgramIcons;

// What the views of jobs show beside a job's own record: its live status, the doctor's badge
// and the icon of the program it runs. Owned by whoever makes the window (the application's
// controller, or a test) and outliving every view made with it.
struct ViewServices {
    JobStatusSource &status;
    JobHealth &health;
    ProgramIcons &icons;
};

} // namespace Vandra

#pragma once

#include <QString>

namespace Vandra {

class MainWindow;

// Pictures of the job doctor and of the changes a save makes, for the screenshots script.
namespace DoctorScreenshots {

// Selects the job whose findings look worst (one with a fix when there is one) and writes
// doctor.png with its Diagnostics page shown; then applies its first fix and writes
// changes.png with the Changes tab shown. The edit is discarded afterwards, which leaves no
// job selected. False when no job has findings (nothing is written then).
bool write(const QString &folder, MainWindow &window);

} // namespace DoctorScreenshots

} // namespace Vandra

#pragma once

#include "model/job.h"
#include "model/kind.h"

#include <QIcon>
#include <QString>

namespace Vandra {

// Turns the icon identities of the core (freedesktop icon names or file paths) into images.
//
// Names are looked up in the icon theme (the desktop's, else Adwaita), then among our own
// icons. Monochrome ("symbolic") icons are painted in the palette's text colour when they
// are drawn, so they stay readable in light and dark palettes alike.
namespace Icons {

enum class Style {
    fullColour, // a coloured icon when the theme has one, else the monochrome one
    symbolic,   // the monochrome icon when the theme has one, else the coloured one
};

// Sets the theme where the platform names none, and where our own icons are found.
void setUp();
// Our own icons, for names the theme lacks.
[[nodiscard]] QString ownIconsFolder();

// The icon of a theme name or an image file; a null icon when there is none.
[[nodiscard]] QIcon themed(const QString &name, Style style);
// The icon of an identity: an image file, a program's path or a theme name. A program
// whose file type has no icon gets the executable icon. The views of jobs keep what they
// looked up (ProgramIcons).
[[nodiscard]] QIcon lookUpIdentity(const QString &identity, Style style);

[[nodiscard]] QIcon kind(Kind kind);
// The icon of the program a job runs.
[[nodiscard]] QIcon run(const Job &job);
// icon, or the executable icon when it is null.
[[nodiscard]] QIcon orExecutable(const QIcon &icon);
// The two fixed images of the enabled state.
[[nodiscard]] QIcon enabledImage();
[[nodiscard]] QIcon disabledImage();
// The image of a mode of the window, by its raw value.
[[nodiscard]] QIcon mode(int mode);

} // namespace Icons

} // namespace Vandra

#pragma once

#include <QString>

namespace Vandra {

// Pictures of a script window and of the New Script sheet for the documentation, made
// without a desktop. The program's locations must be set up (a demo root).
class ScriptScreenshots final {
public:
    ScriptScreenshots() = delete;

    // Writes folder/script.png and folder/newscript.png; false when either failed.
    static bool write(const QString &folder);
};

} // namespace Vandra

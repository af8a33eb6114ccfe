#pragma once

#include "model/job.h"
#include "store/scriptsyntax.h"

#include <QString>

namespace Vandra {

class JobEditor;

// New Script: a script written to a file and, in the same step, a new job that runs it.
class NewScript final {
public:
    NewScript() = delete;

    // The text a new script starts with.
    [[nodiscard]] static QString initialText();
    // The user's folder of scripts, made when missing.
    [[nodiscard]] static QString scriptsFolder();
    // The syntax of a script not yet saved, from its first line.
    [[nodiscard]] static SyntaxType syntaxOf(const QString &text);
    // The command a job runs the script at path with: the interpreter of syntax and the path,
    // quoted when it holds a space.
    [[nodiscard]] static QString runCommand(SyntaxType syntax, const QString &path);

    // Asks where to save the script, starting in the scripts folder with the name proposed,
    // then saves it as save() does. None when cancelled or when the script could not be saved.
    static JobPtr saveScript(JobEditor &editor, const QString &text, const QString &name);
    // Writes text to path as UTF-8, makes it executable by its owner when it starts with
    // "#!", reads it back, and only then makes the job that runs it. A failure is told to
    // the user and leaves no job.
    static JobPtr save(JobEditor &editor, const QString &text, const QString &path);
};

} // namespace Vandra

#pragma once

#include "model/job.h"

#include <QString>

#include <optional>

namespace Vandra {

// The Run field: the one-line command of a job, what a chosen file puts into it, and the
// repairs applied before a save. Most help acts only with the automaticHelp setting on.
// Operations that give none mean: leave the Run field unchanged.
namespace RunHelper {

// The command for a file the user chose: an application bundle's executable, an executable
// file itself, a script with its interpreter, or anything else opened with the desktop's
// opener. None with automaticHelp off (the caller then takes the quoted path).
[[nodiscard]] std::optional<QString> commandForFile(const QString &path);
// The interpreter of a script by its extension, and by its first line.
[[nodiscard]] std::optional<QString> interpreterForExtension(const QString &extension);
[[nodiscard]] std::optional<QString> interpreterForFirstLine(const QString &line);

// What the Choose button puts into the Run field for a file, and the Run field's text
// after it: the whole field when it was empty, the selection replaced when there is one,
// otherwise appended after a space.
[[nodiscard]] QString chosenFileText(const QString &path);
[[nodiscard]] QString insertChosenText(const QString &field, const QString &text,
                                       qsizetype selectionStart = 0, qsizetype selectionLength = 0);
// The text a file dropped on the Run field inserts.
[[nodiscard]] QString droppedFileText(const QString &path);

// A job name suggested by the command; a fresh UUID when the command suggests none.
[[nodiscard]] QString nameFromCommand(const QString &run);
// The command without a leading "sudo " (the job then belongs among the local daemons).
[[nodiscard]] std::optional<QString> removeSudo(const QString &run);
// The folder of the command's first word, ending in a slash: known interpreters directly,
// anything else as `which` finds it.
[[nodiscard]] std::optional<QString> commandFolder(const QString &run);
// The command with its folder put in front, for a command given by its name alone.
[[nodiscard]] std::optional<QString> addCommandFolder(const QString &run);
// "~" at the start of a word, or before a slash, as the home folder.
[[nodiscard]] std::optional<QString> expandTilde(const QString &run);
// For a command that uses the shell's syntax (pipes, redirections, several commands), offers
// to save it as a shell script and run that instead. suggestedName names the script.
[[nodiscard]] std::optional<QString> offerShellScript(const QString &run,
                                                      const QString &suggestedName);
[[nodiscard]] bool isComplexCommand(const QString &run);

// The save-time repairs, in order, on the Run field's current text: a name when the Name
// field is empty, sudo removed, the command's folder, "~" expanded, the shell-script offer.
// Each accepted result goes into the field and into job's run.
void applyAutomaticHelp(Job &job, QString &runField, QString &nameField);
// The command as a save or a test run would use it, without asking anything: sudo removed
// (when withoutSudo), the command's folder added and "~" expanded.
[[nodiscard]] QString repairedRun(const QString &run, bool withoutSudo = true);

// An empty Run field cannot be saved or tested: tells the user and returns false.
bool checkRunNotEmpty(const QString &run);

} // namespace RunHelper

} // namespace Vandra

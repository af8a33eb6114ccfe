#pragma once

#include <QString>

namespace Vandra {

// The language of a script, which decides its colouring and the interpreter a new job runs
// it with.
enum class SyntaxType {
    plain,
    shell,
    bash,
    zsh,
    python,
    perl,
    ruby,
    php,
    swift,
    javascript,
    applescript,
    xml,
};

namespace ScriptSyntax {

// From a first line that starts with "#!" or "<?", already in lower case: the interpreter the
// line names, through env and past its options and version numbers.
[[nodiscard]] SyntaxType fromLowercasedFirstLine(const QString &line);
// From a file's extension, without the dot, in any case.
[[nodiscard]] SyntaxType fromExtension(const QString &extension);
// The first line decides when it starts with "#!" or "<?"; otherwise the file name's
// extension (path may be empty for a text not yet saved).
[[nodiscard]] SyntaxType detect(const QString &text, const QString &path);

// The interpreter command a job runs a script of that syntax with.
[[nodiscard]] QString interpreter(SyntaxType syntax);

} // namespace ScriptSyntax

} // namespace Vandra

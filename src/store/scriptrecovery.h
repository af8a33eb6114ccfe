#pragma once

#include <QString>

#include <optional>

namespace Vandra {

// The copy of a script's unsaved text that autosave keeps, so that edits outlive a crash
// without the original ever being half-written. One copy per script path, in the program's
// own folder.
class ScriptRecovery final {
public:
    explicit ScriptRecovery(const QString &scriptPath);

    [[nodiscard]] const QString &path() const { return m_path; }
    // Replaces the copy in one step; false when it could not be written.
    bool write(const QString &text) const;
    [[nodiscard]] std::optional<QString> read() const;
    [[nodiscard]] bool exists() const;
    void remove() const;

private:
    QString m_path;
};

} // namespace Vandra

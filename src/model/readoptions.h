#pragma once

#include "model/kind.h"

#include <QList>
#include <QString>

#include <optional>

namespace Vandra {

// What reading a job needs to know of the settings and the machine, taken once before a
// pass, so that files can be read on any thread without touching the settings.
struct ReadOptions {
    bool showInternalHelpers = false;
    // The application whose icon stands for AppleScript jobs, when it is installed.
    std::optional<QString> scriptEditor;
    QList<Kind> editableKinds;

    // The options of this process as its settings and locations stand now.
    [[nodiscard]] static ReadOptions fromSettings();

    [[nodiscard]] bool isEditable(std::optional<Kind> kind) const {
        return kind && editableKinds.contains(*kind);
    }
};

} // namespace Vandra

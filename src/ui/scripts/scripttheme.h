#pragma once

#include <QColor>

class QPalette;

namespace Vandra {

// The colours a script window paints its text with.
struct ScriptTheme {
    QColor background;
    QColor foreground;
    QColor comment;
    QColor keyword;
    QColor string;
    QColor number;
    QColor lineNumberBackground;
    QColor lineNumberForeground;
    QColor selection;
    QColor caret;

    [[nodiscard]] static ScriptTheme light();
    [[nodiscard]] static ScriptTheme dark();
    // Light or dark, whichever the palette's window colour is.
    [[nodiscard]] static ScriptTheme forPalette(const QPalette &palette);

    bool operator==(const ScriptTheme &other) const = default;
};

} // namespace Vandra

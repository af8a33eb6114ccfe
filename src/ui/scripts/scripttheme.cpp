#include "ui/scripts/scripttheme.h"

#include <QPalette>

namespace Vandra {

ScriptTheme ScriptTheme::light() {
    return {QColor(0xffffff), QColor(0x1f2328), QColor(0x6e7781), QColor(0xa626a4),
            QColor(0x0a7f3f), QColor(0x1750eb), QColor(0xf3f4f6), QColor(0x8c959f),
            QColor(0xb6d7ff), QColor(0x1f2328)};
}

ScriptTheme ScriptTheme::dark() {
    return {QColor(0x1e1f22), QColor(0xdcdfe4), QColor(0x7f848e), QColor(0xc678dd),
            QColor(0x98c379), QColor(0xd19a66), QColor(0x2b2d30), QColor(0x6f737a),
            QColor(0x264f78), QColor(0xdcdfe4)};
}

ScriptTheme ScriptTheme::forPalette(const QPalette &palette) {
    constexpr int middle = 128;
    return palette.color(QPalette::Window).lightness() < middle ? dark() : light();
}

} // namespace Vandra

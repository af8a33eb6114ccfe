#pragma once

#include <QWidget>

class QComboBox;

namespace Vandra {

class CodeTheme;
class Defaults;

// The Themes tab: the colour theme of the code views. Until the user picks one, the views
// follow the desktop's light or dark palette; "Follow the desktop" goes back to that.
class ThemesPreferences final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThemesPreferences)

public:
    ThemesPreferences(Defaults &defaults, CodeTheme &theme, QWidget *parent = nullptr);

    // The theme the settings hold, chosen at start-up: none until the user picked one.
    static void restore(const Defaults &defaults, CodeTheme &theme);

private:
    void choose(int index);

    Defaults &m_defaults;
    CodeTheme &m_theme;
    QComboBox *m_themes;
};

} // namespace Vandra

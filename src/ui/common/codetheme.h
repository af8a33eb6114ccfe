#pragma once

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>

class QPalette;

namespace Vandra {

// The colour themes of the code views. One object for the program: choosing a theme, or the
// desktop's palette changing while no theme was chosen, tells every open view to recolour.
class CodeTheme final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CodeTheme)

public:
    struct Colours {
        QString name;
        bool isDark = false;
        QColor paper, text, margin, marginText, selection, selectionText;
        QColor tag, attribute, string, comment, entity, declaration, data;
    };
    // The themes' positions in themes().
    enum Id { light = 0, dark = 1, solarizedLight = 2, solarizedDark = 3 };
    // No theme chosen: the theme follows the desktop's palette.
    static constexpr int followsDesktop = -1;

    CodeTheme() = default;

    [[nodiscard]] static const QList<Colours> &themes();

    [[nodiscard]] int chosen() const { return m_chosen; }
    // A theme by its position, or followsDesktop.
    void choose(int id);
    // The colours for a view drawn with palette: the chosen theme, else light or dark after
    // the palette.
    [[nodiscard]] const Colours &colours(const QPalette &palette) const;

Q_SIGNALS:
    void changed();

private:
    int m_chosen = followsDesktop;
};

} // namespace Vandra

#pragma once

#include "support/interaction.h"

class QWidget;

namespace Vandra {

// Answers the core's questions with dialogs that are modal to the main window.
class DialogInteraction final : public Interaction {
public:
    // window: the parent of the dialogs, or none for top-level ones.
    explicit DialogInteraction(QWidget *window = nullptr)
        : m_window(window) {}

    void setWindow(QWidget *window) { m_window = window; }

    int alert(const AlertRequest &request) override;
    std::optional<QString> savePanel(const FilePanelRequest &request) override;
    std::optional<QString> openPanel(const FilePanelRequest &request) override;
    void beep() override;

private:
    QWidget *m_window;
};

} // namespace Vandra

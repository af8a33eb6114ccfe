#pragma once

#include <QPushButton>

namespace Vandra {

// The round help button of a preferences tab: opens the help page at the tab's fragment.
class HelpButton final : public QPushButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpButton)

public:
    HelpButton(const QString &fragment, QWidget *parent = nullptr);

    // The shipped help page at the fragment ("…#preferencesgeneral").
    [[nodiscard]] static QUrl pageUrl(const QString &fragment);
};

} // namespace Vandra

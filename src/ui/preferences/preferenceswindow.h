#pragma once

#include <QWidget>

#include <functional>

class QTabWidget;

namespace Vandra {

class ActionController;
class AdvancedPreferences;
class CodeTheme;
class Defaults;
class ExceptionsController;
class FoldersController;
class GeneralPreferences;
class NotificationsPreferences;

// The preferences window: the General, Notifications, Advanced and Themes tabs. It opens at the tab
// shown last.
class PreferencesWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreferencesWindow)

public:
    // The tabs in order; the numbers are stored in the preferencesTab setting.
    enum Tab { general = 0, notifications, advanced, themes };

    // editFolders opens the extra-folders sheet; actions sends the uninstall request.
    PreferencesWindow(Defaults &defaults, ExceptionsController &exceptions,
                      ActionController *actions, FoldersController &folders, CodeTheme &theme,
                      std::function<void()> editFolders, QWidget *parent = nullptr);

    [[nodiscard]] QTabWidget *tabs() const { return m_tabs; }

private:
    Defaults &m_defaults;
    QTabWidget *m_tabs;
};

} // namespace Vandra

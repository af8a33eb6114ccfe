#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Vandra {

// What the core asks of the user. The desktop program answers with window-modal dialogs;
// tests answer with a script.
struct AlertRequest {
    QString message;
    QString informativeText;
    QStringList buttons;    // first is the default; empty means one "OK" button
    QString suppressionKey; // a Boolean setting set when the user ticks "Do not ask again"
    bool isCritical = false;
};

struct FilePanelRequest {
    QString title;
    QString directory;
    QString proposedName;        // save panel only
    QStringList allowedSuffixes; // without the dot; empty allows every file
    bool canCreateFolders = true;
};

class Interaction {
public:
    // The first button of an alert.
    static constexpr int firstButton = 0;

    virtual ~Interaction() = default;

    // Returns the index of the chosen button.
    virtual int alert(const AlertRequest &request) = 0;
    virtual std::optional<QString> savePanel(const FilePanelRequest &request) = 0;
    virtual std::optional<QString> openPanel(const FilePanelRequest &request) = 0;
    virtual void beep() = 0;

    // The process's answerer; without one, alerts take their default button, panels are
    // cancelled and each request is written to the log.
    static Interaction &shared();
    // Does not take ownership; nullptr restores the logging answerer.
    static void setShared(Interaction *interaction);

    // An alert of a message and an informative text with one OK button.
    static void error(const QString &message, const QString &informativeText);
};

} // namespace Vandra

#include "support/interaction.h"

#include "support/localize.h"

#include <QLoggingCategory>

namespace Vandra {

namespace {

Q_LOGGING_CATEGORY(lcInteraction, "vandra.interaction")

// Used where no user interface answers: a command-line run, a helper, a test that does not
// care. Nothing is asked; every request leaves a line in the log.
class LoggingInteraction final : public Interaction {
public:
    int alert(const AlertRequest &request) override {
        qCInfo(lcInteraction).noquote()
            << "Alert:" << request.message << '|' << request.informativeText << "-> first button";
        return firstButton;
    }

    std::optional<QString> savePanel(const FilePanelRequest &request) override {
        qCInfo(lcInteraction).noquote() << "Save panel:" << request.title << "-> cancelled";
        return std::nullopt;
    }

    std::optional<QString> openPanel(const FilePanelRequest &request) override {
        qCInfo(lcInteraction).noquote() << "Open panel:" << request.title << "-> cancelled";
        return std::nullopt;
    }

    void beep() override { qCInfo(lcInteraction) << "Beep"; }
};

LoggingInteraction &loggingInteraction() {
    static LoggingInteraction interaction;
    return interaction;
}

Interaction *&current() {
    static Interaction *interaction = nullptr;
    return interaction;
}

} // namespace

Interaction &Interaction::shared() {
    Interaction *interaction = current();
    return interaction ? *interaction : loggingInteraction();
}

void Interaction::setShared(Interaction *interaction) {
    current() = interaction;
}

void Interaction::error(const QString &message, const QString &informativeText) {
    AlertRequest request;
    request.message = message;
    request.informativeText = informativeText;
    request.buttons = {Localize::ok()};
    request.isCritical = true;
    shared().alert(request);
}

} // namespace Vandra
